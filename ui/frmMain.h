#pragma once

#include "CodeDictionary.h"
#include "ElementDictionary.h"
#include "EnvelopeOutline.h"
#include "EnvelopeProblems.h"
#include "HoverToolTip.h"
#include "LineNumber.h"
#include "ReadOnlyFile.h"
#include "SegmentExplanation.h"
#include "SettingsList.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class BackgroundCheck;
class FindDialog;
class ProblemsList;
class StructurePane;
class IndexedFile;
class QFileSystemWatcher;
class QTimer;
class ElementPanel;
class QAction;
class QDockWidget;
class QFileDialog;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QTabWidget;
class QToolButton;
class QWidget;
class RawDataView;
class LineSource;
struct SegmentSearchResult;
class TAbout;
class TGoToForm;
class TLicense;
class TSearch;
class WindowPlacement;

// The main window: one X12 file's raw data, one segment per line, with the menus, the tool
// strip and the status bar that work on it.
class TForm1 : public QMainWindow
{
    Q_OBJECT
    // The tests' access to what no control shows: the reader, the recent files, the stand-ins
    // for the dialogs.
    friend class WindowProbe;

public:
    // parameters: the command line without the program's name. FormCreate runs here, before
    // the window is shown, and acts on them.
    explicit TForm1(const QStringList &parameters, QWidget *parent = nullptr);
    ~TForm1() override;

    // The one routine through which every way of opening a file goes. Raises the reader's
    // error when the file cannot be opened; the file shown then stays. An opened file shows at
    // once, its first lines first, while a thread of its own indexes the rest.
    void LoadFile(const QString &path);

    // The settings file's lines as read at creation; the Find in Files window restores its
    // part from them.
    const TSettingsList &Settings() const { return SettingsList; }

    // The windows start-up creates after this one; until they are given, their commands do
    // nothing.
    void SetInformationWindows(TAbout *about, TLicense *license);
    void SetGoToForm(TGoToForm *goToForm);
    // Find in Files: shown from the Edit menu and by the command line, the results it opens
    // loaded here, its settings stored with this window's at close.
    void SetSearchWindow(TSearch *search);

signals:
    // LoadFile has ended: path shown now (loaded, perhaps still being indexed) or refused. path
    // is as LoadFile was given it.
    void LoadFinished(const QString &path, bool loaded);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The controls and menu items, named as the window's design names them (their object names
    // too, by which the tests find them).
    QMenu *File1;
    QAction *Open1;
    QAction *Close1;
    QAction *Print1;
    QMenu *RecentFiles;
    QAction *Exit1;
    QMenu *Edit1;
    QAction *CopyToClipboard;
    QAction *Find1;
    QAction *FindNext1;
    QAction *FindinFiles1;
    QAction *GotoLine1;
    QAction *GotoPreviousSegmentofThisType1;
    QAction *GotoNextMatchingSegmentType1;
    QAction *SelectAll1;
    // Panels beside the view, each with its item here, and View > Font.
    QMenu *View1;
    QAction *Font1;
    QMenu *ools1;
    QAction *MakeAvailableonWindowsContextMenus1;
    QMenu *Help1;
    QAction *Help2;
    QAction *License1;
    QAction *WebSite1;
    QAction *About1;

    QWidget *ToolStrip;
    QToolButton *spOpen;
    QToolButton *spClose;
    QToolButton *spCopy;
    QToolButton *spFind;
    QToolButton *spFindInFiles;
    QToolButton *spPrint;
    QTabWidget *PageControl1;
    RawDataView *Memo1;
    QLabel *StatusPanel0; // position
    QLabel *StatusPanel1; // element name
    QLabel *StatusPanel2; // the caret's place in its transaction set
    QLabel *StatusPanel3; // the envelope check: how many problems, or the caret's
    QProgressBar *ProgressBar1;
    QFileDialog *OpenDialog1 = nullptr; // made when Open is first chosen

    // The file shown, or none, and what watches it for changes by other programs.
    std::unique_ptr<IndexedFile> File;
    // Its envelope check, run beside the indexing, and what the check has found so far.
    std::unique_ptr<BackgroundCheck> Check;
    EnvelopeOutline outline_;
    EnvelopeProblems problems_;
    bool checkComplete_ = false;
    QString filePath_; // as LoadFile was given it
    QTimer *LoadTimer = nullptr; // follows the indexing and the check while they run
    bool indexEnded_ = false; // the window has seen the indexing end
    QTimer *WatchTimer = nullptr; // checks the file's size while it is shown
    QFileSystemWatcher *Watcher = nullptr;
    QAction *StopLoad1 = nullptr; // Esc while a file loads
    bool changeTold_ = false; // the change of the file shown was told already
    std::chrono::microseconds indexingDelay_ { 0 }; // tests slow the indexing down
    ReadOnlyFile::Stamp fileStamp_; // the file shown as it was when opened
    // Recent files, most recent first; the submenu shows the first six.
    QStringList MRUList;
    TSettingsList SettingsList;
    QString SettingsFolder;
    // The command line asks for Find in Files at the first showing.
    bool SearchOnShow = false;

    // Puts the window where the settings say and gives its geometry to store at close.
    WindowPlacement *Placement = nullptr;

    void Open1Click();
    void Close1Click();
    void MRUClick(QAction *entry);
    void File1Click();
    void Print1Click();
    void Exit1Click();
    void Edit1Click();
    void CopyToClipboardClick();
    void Find1Click();
    void FindNext1Click();
    void FindinFiles1Click();
    void GotoLine1Click();
    void GotoPreviousSegmentofThisType1Click();
    void GotoNextMatchingSegmentType1Click();
    void SelectAll1Click();
    void Font1Click();
    void MakeAvailableonWindowsContextMenus1Click();
    void RemoveBrimletfromDesktopContextMenus1Click();
    void Help2Click();
    void License1Click();
    void WebSite1Click();
    void About1Click();
    void spOpenClick();
    void spCloseClick();
    void spCopyClick();
    void spFindClick();
    void spFindInFilesClick();
    void spPrintClick();
    void Memo1Click();
    void Memo1KeyUp(int key, Qt::KeyboardModifiers modifiers);
    void Memo1SelectionChange();

    // Texts of the status bar panels: position, element name, place in the transaction set,
    // problems.
    void SetStatusText(int panel, const QString &text);

    // Adds a panel beside the view, hidden until the user shows it from the View menu; whether
    // it is shown is kept in the settings under settingsKey (one of StoredSettings::PanelKeys).
    QDockWidget *AddPanel(const char *objectName, const QString &title, QWidget *content,
        Qt::DockWidgetArea area, const QString &settingsKey);

    // The commands on the text shown: element names, find, go to, print.
    // Element names for the status bar, from Elements.ini beside the executable.
    ElementDictionary ElementNames;
    // Modeless, kept for the window's lifetime: its text and options last the whole run.
    FindDialog *FindDialog1 = nullptr;
    void FindDialog1Find();
    // The print dialog: shows it for printer and tells whether to print. Tests put a step of
    // their own in its place, one that points the printer at a PDF file.
    std::function<bool(QPrinter &printer)> ShowPrintDialog;
    // Asked when the file shown changed on disk: true to reload it, false to close it. Tests put
    // their own in its place.
    std::function<bool()> AskToReload;
    // Asked before a print of many pages: whether to print them.
    std::function<bool(qint64 pages)> ConfirmPrint;
    // The font dialog: the font chosen starting from current, or none when cancelled. Tests put
    // their own in its place.
    std::function<std::optional<QFont>(const QFont &current)> ChooseFont;

    void CreateMenus();
    void CreateToolStrip();
    void CreateClientArea();
    // The panels of the View menu; made before the settings are read, which say which to show.
    void CreatePanels();
    void ConnectHandlers();
    QAction *AddItem(QMenu *menu, const char *name, const QString &caption,
        const QKeySequence &shortcut, void (TForm1::*handler)());
    QToolButton *AddButton(const char *name, int left, const QString &hint, const QIcon &icon,
        bool enabled, void (TForm1::*handler)());

    void FormCreate();
    void FormShow();
    void FormClose();
    // LoadFile's steps; LoadFile reports how they ended.
    void Load(const QString &path);
    void LoadElementNames();
    void LoadSettings();
    // Without a stored size: a whole ISA line and about thirty lines in view, within the screen.
    void SizeForFirstStart();
    void RebuildRecentFiles();
    void CreateLoading();
    // Stops the indexing, lets the file go and empties the view.
    void CloseFile();
    void SetFileControlsEnabled(bool enabled);
    void SetProgress(int position);
    // The indexing's progress, lines and end, a few dozen times a second while it runs.
    void LoadTick();
    // The file shown has changed on disk (or is gone): asked once whether to reload or close.
    void FileChanged();
    // Whether the file shown is still being indexed; what that leaves the commands, in words.
    bool StillLoading() const;
    QString LoadedSoFar() const;

    void CreateCommands();
    void MoveToSegment(SegmentNumber segment);
    void NotFound(const QString &notice);
    void GoToInSet(const QString &control, qint64 number);
    void StepToSameType(SegmentSearchResult (*search)(LineSource &lines, LineNumber caretLine));
    std::shared_ptr<QPrinter> printer_; // the printer chosen last, kept for the run

    QStringList parameters_;
    // Each may go before this window does.
    QPointer<TAbout> about_;
    QPointer<TLicense> license_;
    QPointer<TSearch> search_;
    QPointer<TGoToForm> goToForm_;
    QList<std::pair<QDockWidget *, QString>> panels_; // with their settings keys
    QAction *panelsEnd_ = nullptr; // the View menu's separator after the panels' items
    // The view's font as the user chose it (QFont::toString), stored at close; empty while the
    // view has the system's fixed-width font, which is not stored so that it follows the system.
    QString viewFont_;
    bool sizedForFirstStart_ = false;

    // The Structure pane and the Problems list, fed from the envelope check.
    void CreateStructurePanels();
    // Takes the check's newest snapshot into the panes and the status bar.
    void TakeCheckResults();
    // The caret's place in its set, and the problems at its segment, in the status bar and
    // the panes; called by Memo1Click.
    void ShowCaretInEnvelopes(qint64 segment);
    void ClearEnvelopes();
    StructurePane *StructurePane1 = nullptr;
    ProblemsList *ProblemsList1 = nullptr;

    // The element panel and the view's element tooltips.
    void CreateElementPanel();
    // Code meanings from Codes.ini beside the executable and the user's copy over it.
    void LoadCodeMeanings();
    // The rows of view line line; none past the last segment or without a reader.
    std::optional<SegmentExplanation> ExplainLine(qint64 line) const;
    // The element panel follows the caret: called by Memo1Click.
    void ShowCaretElements();
    void MoveToElement(qint64 line, qint64 column);
    HoverToolTip::Tip ElementTipAt(const QPoint &point) const;
    CodeDictionary CodeMeanings;
    ElementPanel *ElementPanel1 = nullptr;
};
