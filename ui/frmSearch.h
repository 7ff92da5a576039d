#pragma once

#include "StoredSettings.h"

#include <QMainWindow>
#include <QStringList>

#include <functional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTableWidget;
class TForm1;
class WindowPlacement;
struct SearchResultRow;

// The Find in Files window: searches a folder for X12 files holding a text and lists them.
class TSearch : public QMainWindow
{
    Q_OBJECT

public:
    // Created after the main window, whose settings it reads.
    explicit TSearch(TForm1 *mainWindow, QWidget *parent = nullptr);
    ~TSearch() override;

    // The controls and menu items, named as the window's design names them.
    QLabel *Label4;
    QComboBox *Folder;
    QPushButton *Button1;
    QLabel *Label2;
    QComboBox *FindText;
    QCheckBox *MatchCase;
    QCheckBox *SearchSubdirectories;
    QLabel *Label1;
    QLineEdit *Filespec;
    QLabel *Label3;
    QTableWidget *StringGrid1;
    QPushButton *Open;
    QPushButton *Find;
    QPushButton *Cancel;
    QStatusBar *StatusBar1;
    QMenu *Edit1;
    QAction *CopyFileListtoClipboard1;

    // Searched folders and search texts, most recent first, in step with the item lists of
    // Folder and FindText.
    QStringList FolderHistory;
    QStringList SearchTextHistory;
    // A search runs; Cancel was pressed during it.
    bool Searching = false;
    bool CancelRequested = false;

    // Puts the window where the settings say and gives its geometry to store at close.
    WindowPlacement *Placement = nullptr;
    // What the main window stores for this window when the program ends: the histories, the
    // geometry and the result columns' widths.
    StoredSettings::SearchWindowSettings SettingsToStore() const;

    // Asks the user for a folder: its path, or "" when the user cancels. The folder dialog by
    // default; tests put their own in its place.
    std::function<QString(QWidget *owner)> SelectFolder;

    // The status bar's text.
    QString StatusText() const;

    void FormShow();
    void FindTextChange();
    void FindClick();
    void CancelClick();
    void OpenClick();
    void Button1Click();
    void Edit1Click();
    void CopyFileListtoClipboard1Click();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateControls();
    void CreateMenu();
    void ConnectHandlers();
    void FormCreate();

    void SetStatusText(const QString &text);
    void UpdateHistories();
    void AppendRow(const SearchResultRow &row);
    void ResetResults();
    bool HasResults() const;
    QString CellText(int row, int column) const;
    // The grid's row as a result row; empty cells where there is none.
    SearchResultRow RowAt(int row) const;

    TForm1 *mainWindow_;
};
