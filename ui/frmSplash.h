#pragma once

#include <QDialog>

class QLabel;
class QTimer;

// The splash window: the product's picture, shown modally for one second at start-up.
class TForm2 : public QDialog
{
    Q_OBJECT

public:
    explicit TForm2(QWidget *parent = nullptr);

    QLabel *Image1;
    QTimer *Timer1; // interval 1,000 ms, started when the window is shown

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void Timer1Timer();
};
