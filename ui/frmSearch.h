#pragma once

#include <QWidget>

class QComboBox;
class TForm1;

// The Find in Files window: searches a folder for X12 files holding a text and lists them.
class TSearch : public QWidget
{
    Q_OBJECT

public:
    // Created after the main window, whose settings it reads.
    explicit TSearch(TForm1 *mainWindow, QWidget *parent = nullptr);

    QComboBox *Folder;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();

    TForm1 *mainWindow_;
};
