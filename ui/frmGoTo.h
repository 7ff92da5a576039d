#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// The Go To Line dialog: a line number, or the n-th segment of a segment type. Created once
// and reused, so both boxes keep their texts from one use to the next.
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
    QPushButton *GoToButton;
    QPushButton *CancelButton;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Edit1Change();
    void GoToButtonClick();
};
