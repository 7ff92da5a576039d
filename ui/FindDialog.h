#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find dialog: a find text of at most 255 characters, Match whole word only,
// Match case, a direction, Find Next and Cancel. It keeps its text and options from one
// showing to the next; Find Next emits Find and leaves the dialog open.
class FindDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int MaxFindText = 255;

    explicit FindDialog(QWidget *parent = nullptr);

    QString FindText() const;
    bool MatchCase() const;
    bool WholeWord() const;

    // Shows the dialog, or brings it to the front, with the find text selected.
    void Execute();

    QLineEdit *FindWhat;
    QCheckBox *WholeWordBox;
    QCheckBox *MatchCaseBox;
    QRadioButton *UpButton;
    QRadioButton *DownButton;
    QPushButton *FindNextButton;
    QPushButton *CancelButton;

signals:
    void Find();
};
