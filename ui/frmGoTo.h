#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The Go To Line dialog: a line number, the n-th segment of a segment type, or the n-th segment
// of the transaction set whose ST02 is given (the position 997 and 999 acknowledgments use).
// Created once and reused, so the boxes keep their texts from one use to the next.
class TGoToForm : public QDialog
{
    Q_OBJECT

public:
    explicit TGoToForm(QWidget *parent = nullptr);

    QLabel *Label1;
    QLineEdit *Edit1; // line number, or which occurrence of the segment type
    QLabel *Label2;
    QLineEdit *Edit2; // segment type
    QLabel *Label3;
    QLabel *Label4;
    QLineEdit *Edit3; // a transaction set's control number, ST02
    QLabel *Label5;
    QPushButton *GoToButton;
    QPushButton *CancelButton;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Edit1Change();
    void GoToButtonClick();
};
