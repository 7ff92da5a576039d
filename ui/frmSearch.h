#pragma once

#include "StoredSettings.h"

#include <QStringList>
#include <QWidget>

class QComboBox;
class QTableWidget;
class TForm1;
class WindowPlacement;

// The Find in Files window: searches a folder for X12 files holding a text and lists them.
class TSearch : public QWidget
{
    Q_OBJECT

public:
    // Created after the main window, whose settings it reads.
    explicit TSearch(TForm1 *mainWindow, QWidget *parent = nullptr);

    QComboBox *Folder;

    // What the window keeps in the settings file: the histories, most recent first, with the
    // drop-down items of Folder and FindText, its geometry and the result columns' widths.
    QComboBox *FindText;
    QTableWidget *StringGrid1;
    QStringList FolderHistory;
    QStringList SearchTextHistory;
    WindowPlacement *Placement = nullptr;
    // What the main window stores for this window when the program ends.
    StoredSettings::SearchWindowSettings SettingsToStore() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate();
    void FormShow();

    TForm1 *mainWindow_;
};
