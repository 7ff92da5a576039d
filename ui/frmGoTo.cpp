#include "frmGoTo.h"

#include "GoToLine.h"
#include "WindowFont.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

TGoToForm::TGoToForm(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("GoToForm"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Go To Line"));
    setAccessibleName(windowTitle());
    setFixedSize(315, 182);

    Label1 = new QLabel(QStringLiteral("Line #"), this);
    Label1->setGeometry(16, 28, 90, 21);
    Label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit1 = new QLineEdit(QStringLiteral("1"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(112, 28, 97, 21);
    Edit1->setAccessibleName(QStringLiteral("Line #"));
    Label1->setBuddy(Edit1);

    Label2 = new QLabel(QStringLiteral("Segment Type:"), this);
    Label2->setGeometry(16, 60, 90, 21);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(112, 60, 97, 21);
    Edit2->setAccessibleName(QStringLiteral("Segment Type"));
    Label2->setBuddy(Edit2);
    Label3 = new QLabel(QStringLiteral("(e.g. ST)"), this);
    Label3->setGeometry(216, 60, 90, 21);
    Label3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Label4 = new QLabel(QStringLiteral("In Set (ST02):"), this);
    Label4->setGeometry(16, 92, 90, 21);
    Label4->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setGeometry(112, 92, 97, 21);
    Edit3->setAccessibleName(QStringLiteral("In Set (ST02)"));
    Label4->setBuddy(Edit3);
    Label5 = new QLabel(QStringLiteral("(e.g. 0003)"), this);
    Label5->setGeometry(216, 92, 90, 21);
    Label5->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    GoToButton = new QPushButton(QStringLiteral("Go To"), this);
    GoToButton->setObjectName(QStringLiteral("GoToButton"));
    GoToButton->setGeometry(72, 136, 75, 25);
    GoToButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(168, 136, 75, 25);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, GoToButton);
    setTabOrder(GoToButton, CancelButton);

    connect(Edit1, &QLineEdit::textChanged, this, &TGoToForm::Edit1Change);
    connect(GoToButton, &QPushButton::clicked, this, &TGoToForm::GoToButtonClick);
    // Esc rejects as well: QDialog's own cancel key.
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    Edit1Change();
}

void TGoToForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TGoToForm::FormShow()
{
    Edit1Change();
    Edit1->setFocus();
    Edit1->selectAll();
}

void TGoToForm::Edit1Change()
{
    GoToButton->setEnabled(GoToLine::LineNumber(Edit1->text()).has_value());
}

void TGoToForm::GoToButtonClick()
{
    Edit2->setText(GoToLine::CleanSegmentType(Edit2->text()));
    Edit3->setText(Edit3->text().trimmed());
    accept();
}
