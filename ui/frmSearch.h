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
class TSettingsList;
class WindowPlacement;
struct SearchResultRow;

// The Find in Files window: searches a folder for X12 files holding a text and lists them.
class TSearch : public QMainWindow
{
    Q_OBJECT
    // The tests' access to the histories, the search's state and the folder dialog's stand-in.
    friend class WindowProbe;

public:
    // settings: the settings file's lines, from which the window restores its histories, its
    // geometry and its columns' widths.
    explicit TSearch(const TSettingsList &settings, QWidget *parent = nullptr);
    ~TSearch() override;

    // Puts folder into the Folder box and shows the window (the command line's "-s").
    void ShowFolder(const QString &folder);
    // Shows the window, brought to the front also from the minimized state.
    void BringToFront();
    // The program ends: a running search stops after the file being read, and the window hides.
    void StopForExit();
    // A load the main window ran has ended; a result opened from here hides the window once it
    // is shown there.
    void LoadFinished(const QString &path, bool loaded);

    // What the main window stores for this window when the program ends: the histories, the
    // geometry and the widths the user chose for the result columns.
    StoredSettings::SearchWindowSettings SettingsToStore() const;
    // The status bar's text.
    QString StatusText() const;

signals:
    // The user asks to open a listed file in the main window.
    void OpenRequested(const QString &path);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls and menu items, named as the window's design names them (their object names
    // too, by which the tests find them).
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

    // Asks the user for a folder: its path, or "" when the user cancels. The folder dialog by
    // default; tests put their own in its place.
    std::function<QString(QWidget *owner)> SelectFolder;

    void FormShow();
    void FindTextChange();
    void FindClick();
    void CancelClick();
    void OpenClick();
    void Button1Click();
    void Edit1Click();
    void CopyFileListtoClipboard1Click();

    void CreateControls();
    void CreateMenu();
    void ConnectHandlers();
    void FormCreate(const TSettingsList &settings);

    void SetStatusText(const QString &text);
    void UpdateHistories();
    void AppendRow(const SearchResultRow &row);
    void ResetResults();
    bool HasResults() const;
    QString CellText(int row, int column) const;
    // The grid's row as a result row; empty cells where there is none.
    SearchResultRow RowAt(int row) const;

    // Fits the result columns whose width the user has not chosen to their contents.
    void FitColumns();
    // Result columns whose width the user chose: dragged, or stored by an earlier run. Only
    // those are stored again; the others fit their contents after each search.
    std::array<bool, StoredSettings::ResultColumnCount> columnChosen_ {};
    bool fittingColumns_ = false;

    // The result whose opening was asked for and has not ended yet.
    QString openRequested_;
};
