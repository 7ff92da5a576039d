#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The About window: the product's picture with its Ok button and the link to the maker.
class TAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TAbout(QWidget *parent = nullptr);

    QLabel *Image1;
    QPushButton *Ok; // default and cancel button: Enter and Esc press it
    QWidget *Panel1; // over the maker's logo: a click opens the maker's web page

    void Panel1Click();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
