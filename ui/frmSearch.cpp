#include "frmSearch.h"

#include "WindowFont.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QShowEvent>
#include <QTableWidget>

TSearch::TSearch(TForm1 *mainWindow, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , Folder(new QComboBox(this))
    , FindText(new QComboBox(this))
    , StringGrid1(new QTableWidget(1, 4, this))
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

    FindText->setObjectName(QStringLiteral("FindText"));
    FindText->setEditable(true);
    FindText->setGeometry(103, 53, 338, 21);
    FindText->setAccessibleName(QStringLiteral("Seach For"));
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(103, 144, 337, 104);
    StringGrid1->setAccessibleName(QStringLiteral("Results"));
    StringGrid1->setHorizontalHeaderLabels({ QStringLiteral("Filename"),
        QStringLiteral("Directory"), QStringLiteral("Size"), QStringLiteral("Last Modified") });
    StringGrid1->verticalHeader()->hide();
    for (int column = 0; column < StringGrid1->columnCount(); ++column)
        StringGrid1->setColumnWidth(column, 64);
    FormCreate();
}

void TSearch::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TSearch::FormShow() { }
