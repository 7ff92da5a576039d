// The main window's file: opening it, following its indexing while it shows, and what the
// window does when another program changes the file.

#include "frmMain.h"

#include "BackgroundCheck.h"
#include "ElementPanel.h"
#include "FileNames.h"
#include "HistoryList.h"
#include "IndexedFile.h"
#include "MessageBoxes.h"
#include "RawDataView.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

constexpr int LoadTickInterval = 30; // milliseconds between two looks at the indexing
constexpr int WatchInterval = 1000; // and between two looks at the file's size
constexpr int NoticeTimeout = 8000; // how long a status bar notice shows

} // namespace

void TForm1::CreateLoading()
{
    LoadTimer = new QTimer(this);
    LoadTimer->setInterval(LoadTickInterval);
    connect(LoadTimer, &QTimer::timeout, this, MessageBoxes::GuardedSlot(this, &TForm1::LoadTick));
    WatchTimer = new QTimer(this);
    WatchTimer->setInterval(WatchInterval);
    connect(WatchTimer, &QTimer::timeout, this,
        [this] { MessageBoxes::Guarded([&] { FileChanged(); }); });
    Watcher = new QFileSystemWatcher(this);
    connect(Watcher, &QFileSystemWatcher::fileChanged, this,
        [this] { MessageBoxes::Guarded([&] { FileChanged(); }); });

    // Esc while a file loads stops it: the file goes, with its index.
    StopLoad1 = new QAction(this);
    StopLoad1->setObjectName(QStringLiteral("StopLoad1"));
    StopLoad1->setShortcut(QKeySequence(Qt::Key_Escape));
    StopLoad1->setShortcutContext(Qt::WindowShortcut);
    StopLoad1->setEnabled(false);
    addAction(StopLoad1);
    connect(
        StopLoad1, &QAction::triggered, this, MessageBoxes::GuardedSlot(this, &TForm1::CloseFile));

    AskToReload = [this] {
        QMessageBox box(QMessageBox::Warning, MessageBoxes::ApplicationTitle(),
            QStringLiteral("The file has changed on disk."), QMessageBox::NoButton, this);
        box.setObjectName(QStringLiteral("FileChangedBox"));
        QPushButton *reload = box.addButton(QStringLiteral("&Reload"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("&Close"), QMessageBox::RejectRole);
        box.setDefaultButton(reload);
        box.exec();
        return box.clickedButton() == reload;
    };
}

void TForm1::LoadFile(const QString &path)
{
    try {
        Load(path);
    } catch (...) {
        emit LoadFinished(path, false);
        throw;
    }
    emit LoadFinished(path, true);
}

void TForm1::Load(const QString &path)
{
    // Kept absolute, so that the entry opens the same file from any folder.
    HistoryList::MoveToFront(
        MRUList, QFileInfo(path).absoluteFilePath(), HistoryList::FilePathCase());
    RebuildRecentFiles();

    // The new file is opened and checked before the shown one goes: a file that is refused, or
    // whose index has no place, leaves the shown file working as it was.
    const ReadOnlyFile::Stamp stamp = ReadOnlyFile::StampOf(path);
    auto file = std::make_unique<IndexedFile>(path);
    CloseFile();
    fileStamp_ = stamp;
    File = std::move(file);
    filePath_ = path;
    changeTold_ = false;
    indexEnded_ = false;
    Memo1->SetSource(File.get());
    File->Start({ indexingDelay_ });
    // The envelope check reads the file beside the indexing, never ahead of the lines shown.
    Check = std::make_unique<BackgroundCheck>(*File);
    Check->Start();

    SetFileControlsEnabled(true);
    StopLoad1->setEnabled(true);
    ProgressBar1->show();
    SetProgress(0);
    LoadTimer->start();
    WatchTimer->start();
    Watcher->addPath(QFileInfo(path).absoluteFilePath());

    Memo1->SetSelStart(0);
    // Fails quietly while the window is not shown yet (a file named on the command line).
    Memo1->setFocus();
    Memo1Click();
    // A header read by counting its elements is said to be unusual.
    const QString note = File->Interchanges().front().Header.LengthNote();
    if (!note.isEmpty())
        statusBar()->showMessage(note, NoticeTimeout);
    setWindowTitle(
        MessageBoxes::ApplicationTitle() + QStringLiteral(" - ") + FileNames::Display(path));
}

void TForm1::CloseFile()
{
    LoadTimer->stop();
    WatchTimer->stop();
    if (!Watcher->files().isEmpty())
        Watcher->removePaths(Watcher->files());
    ProgressBar1->hide();
    StopLoad1->setEnabled(false);
    // The view lets go of the lines before they go; the check's thread stops, then the file's,
    // and its index goes.
    Memo1->Clear();
    Check.reset();
    File.reset();
    ClearEnvelopes();
    filePath_.clear();
    ElementPanel1->Clear();
    SetFileControlsEnabled(false);
}

void TForm1::LoadTick()
{
    if (!File) {
        LoadTimer->stop();
        return;
    }
    const IndexedFile::State state = File->CurrentState();
    // Seen before its results are taken: a check that has ended has handed its last ones.
    const bool checkEnded = !Check || Check->Ended();
    // The check's results first: they name no line that the lines added next do not hold.
    TakeCheckResults();
    if (!indexEnded_) {
        Memo1->LinesAdded();
        SetProgress(File->ScanPercent());
    }
    if (state == IndexedFile::State::Indexing)
        return;
    if (!indexEnded_) {
        // Once: a message box below runs events, and this with them.
        indexEnded_ = true;
        StopLoad1->setEnabled(false);
        ProgressBar1->hide();
        Memo1Click();
        if (state == IndexedFile::State::Failed) {
            if (File->ChangedOnDisk()) {
                FileChanged();
                return;
            }
            // The lines indexed before the failure stay shown.
            MessageBoxes::ShowError(File->FailureMessage());
            if (!File)
                return;
        }
    }
    // The check may end a little after the indexing; the window follows it until then.
    if (checkEnded)
        LoadTimer->stop();
}

void TForm1::FileChanged()
{
    if (!File || changeTold_)
        return;
    // Written, cut, replaced or gone: whatever moves its stamp. The reader may also have found
    // it shorter than it was.
    if (ReadOnlyFile::StampOf(File->FileName()) == fileStamp_ && !File->ChangedOnDisk())
        return;
    changeTold_ = true;
    WatchTimer->stop();
    const QString path = filePath_;
    if (AskToReload())
        LoadFile(path);
    else
        CloseFile();
}

bool TForm1::StillLoading() const
{
    return File && File->CurrentState() == IndexedFile::State::Indexing;
}

QString TForm1::LoadedSoFar() const
{
    return QStringLiteral("The file is still loading: %L1 segments so far.")
        .arg(File ? File->LineCount() : 0);
}

void TForm1::SetProgress(int position)
{
    if (ProgressBar1->value() != position)
        ProgressBar1->setValue(position);
}
