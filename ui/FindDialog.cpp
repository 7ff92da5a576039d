#include "FindDialog.h"

#include "WindowFont.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

FindDialog::FindDialog(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog1"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Find"));
    setAccessibleName(windowTitle());
    setModal(false);

    auto *label = new QLabel(QStringLiteral("Fi&nd what:"));
    FindWhat = new QLineEdit;
    FindWhat->setObjectName(QStringLiteral("FindWhat"));
    FindWhat->setMaxLength(MaxFindText);
    FindWhat->setAccessibleName(QStringLiteral("Find what"));
    label->setBuddy(FindWhat);

    WholeWordBox = new QCheckBox(QStringLiteral("Match &whole word only"));
    WholeWordBox->setObjectName(QStringLiteral("WholeWord"));
    MatchCaseBox = new QCheckBox(QStringLiteral("Match &case"));
    MatchCaseBox->setObjectName(QStringLiteral("MatchCase"));

    auto *direction = new QGroupBox(QStringLiteral("Direction"));
    UpButton = new QRadioButton(QStringLiteral("&Up"));
    UpButton->setObjectName(QStringLiteral("Up"));
    DownButton = new QRadioButton(QStringLiteral("&Down"));
    DownButton->setObjectName(QStringLiteral("Down"));
    DownButton->setChecked(true);
    auto *directionLayout = new QHBoxLayout(direction);
    directionLayout->addWidget(UpButton);
    directionLayout->addWidget(DownButton);

    FindNextButton = new QPushButton(QStringLiteral("&Find Next"));
    FindNextButton->setObjectName(QStringLiteral("FindNext"));
    FindNextButton->setDefault(true);
    FindNextButton->setEnabled(false);
    CancelButton = new QPushButton(QStringLiteral("Cancel"));
    CancelButton->setObjectName(QStringLiteral("Cancel"));

    auto *layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(FindWhat, 0, 1, 1, 2);
    layout->addWidget(FindNextButton, 0, 3);
    auto *options = new QVBoxLayout;
    options->addWidget(WholeWordBox);
    options->addWidget(MatchCaseBox);
    options->addStretch();
    layout->addLayout(options, 1, 0, 1, 2);
    layout->addWidget(direction, 1, 2);
    layout->addWidget(CancelButton, 1, 3, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(FindWhat, WholeWordBox);
    setTabOrder(WholeWordBox, MatchCaseBox);
    setTabOrder(MatchCaseBox, UpButton);
    setTabOrder(UpButton, DownButton);
    setTabOrder(DownButton, FindNextButton);
    setTabOrder(FindNextButton, CancelButton);

    // As in the system's find dialogs: nothing to find, no Find Next.
    connect(FindWhat, &QLineEdit::textChanged, this,
        [this](const QString &text) { FindNextButton->setEnabled(!text.isEmpty()); });
    connect(FindNextButton, &QPushButton::clicked, this, &FindDialog::Find);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

QString FindDialog::FindText() const
{
    return FindWhat->text();
}

bool FindDialog::MatchCase() const
{
    return MatchCaseBox->isChecked();
}

bool FindDialog::WholeWord() const
{
    return WholeWordBox->isChecked();
}

void FindDialog::Execute()
{
    show();
    raise();
    activateWindow();
    FindWhat->setFocus();
    FindWhat->selectAll();
}
