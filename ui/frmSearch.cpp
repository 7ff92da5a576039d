#include "frmSearch.h"

#include "WindowFont.h"

#include <QComboBox>
#include <QLabel>
#include <QShowEvent>

TSearch::TSearch(TForm1 *mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , Folder(new QComboBox(this))
    , mainWindow_(mainWindow)
{
    setObjectName(QStringLiteral("Search"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Find in Files"));
    setAccessibleName(windowTitle());
    resize(494, 335);

    auto *label = new QLabel(QStringLiteral("Folder"), this);
    label->setGeometry(33, 16, 30, 13);
    label->setBuddy(Folder);
    Folder->setObjectName(QStringLiteral("Folder"));
    Folder->setEditable(true);
    Folder->setGeometry(103, 15, 318, 21);
    Folder->setAccessibleName(QStringLiteral("Folder"));
    FormCreate();
}

void TSearch::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSearch::FormCreate()
{
    Q_UNUSED(mainWindow_);
}

void TSearch::FormShow() { }
