#include "frmMain.h"

#include "BackgroundCheck.h"
#include "ElementPanel.h"
#include "Exception.h"
#include "FileNames.h"
#include "HistoryList.h"
#include "IndexedFile.h"
#include "MessageBoxes.h"
#include "RawDataView.h"
#include "StoredSettings.h"
#include "WindowFont.h"
#include "frmAbout.h"
#include "frmGoTo.h"
#include "frmLicense.h"
#include "frmSearch.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStatusBar>
#include <QToolButton>

TForm1::TForm1(const QStringList &parameters, QWidget *parent)
    : QMainWindow(parent)
    , parameters_(parameters)
{
    setObjectName(QStringLiteral("Form1"));
    setFont(WindowFont());
    setWindowTitle(MessageBoxes::ApplicationTitle());
    CreateMenus();
    CreateToolStrip();
    CreateClientArea();
    ConnectHandlers();
    CreateCommands();
    CreateLoading();
    CreatePanels();
    // The Edit menu's rules run before any of its shortcuts is acted on.
    QCoreApplication::instance()->installEventFilter(this);
    FormCreate();
}

// The file goes before the view that shows it, and the check's thread, which reads the file's
// state, before the file.
TForm1::~TForm1()
{
    Check.reset();
    File.reset();
}

void TForm1::SetInformationWindows(TAbout *about, TLicense *license)
{
    about_ = about;
    license_ = license;
}

void TForm1::SetGoToForm(TGoToForm *goToForm)
{
    goToForm_ = goToForm;
}

void TForm1::SetSearchWindow(TSearch *search)
{
    if (search_)
        disconnect(search_, nullptr, this, nullptr);
    search_ = search;
    if (!search_)
        return;
    connect(search_, &TSearch::OpenRequested, this, [this](const QString &path) {
        if (!MessageBoxes::Guarded([&] { LoadFile(path); }))
            return;
        raise();
        activateWindow();
    });
    connect(this, &TForm1::LoadFinished, search_, &TSearch::LoadFinished);
}

void TForm1::FormCreate()
{
    SearchOnShow = false;
    LoadElementNames();
    LoadCodeMeanings();
    // A settings file that cannot be read ends the window's creation here, after its message.
    if (!MessageBoxes::Guarded([&] { LoadSettings(); }))
        return;
    if (parameters_.isEmpty())
        return;
    // Compared exactly: "-S" and "/s" name files.
    if (parameters_.first() == QLatin1String("-s"))
        SearchOnShow = true;
    else
        MessageBoxes::Guarded([&] { LoadFile(parameters_.first()); });
}

void TForm1::FormShow()
{
    if (!SearchOnShow)
        return;
    SearchOnShow = false;
    if (search_)
        search_->ShowFolder(parameters_.value(1));
}

void TForm1::showEvent(QShowEvent *event)
{
    // Laid out now, the window knows what it adds around the view; not yet on the screen, it
    // takes its size for the first start without being seen at another.
    if (!event->spontaneous() && !sizedForFirstStart_) {
        sizedForFirstStart_ = true;
        SizeForFirstStart();
    }
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        MessageBoxes::Guarded([&] { FormShow(); });
}

void TForm1::closeEvent(QCloseEvent *event)
{
    if (search_)
        search_->StopForExit();
    MessageBoxes::Guarded([&] { FormClose(); });
    event->accept();
    // This is the application's main window: closing it ends the program, whatever other
    // windows are still open.
    QCoreApplication::quit();
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    for (const QAction *action : Edit1->actions()) {
        if (!action->shortcut().isEmpty()
            && action->shortcut().matches(pressed) == QKeySequence::ExactMatch) {
            MessageBoxes::Guarded([&] { Edit1Click(); });
            break;
        }
    }
    return false;
}

void TForm1::RebuildRecentFiles()
{
    // The entries go later, not now: the one clicked may be the sender of this load.
    for (QAction *entry : RecentFiles->actions()) {
        RecentFiles->removeAction(entry);
        entry->deleteLater();
    }
    for (int i = 0; i < qMin(StoredSettings::RecentFileCount, int(MRUList.size())); ++i) {
        const QString &path = MRUList[i];
        // Doubled ampersands show as themselves: the entry reads exactly as the path.
        QAction *entry = RecentFiles->addAction(
            FileNames::Display(path).replace(QLatin1Char('&'), QLatin1String("&&")));
        entry->setData(path);
        connect(entry, &QAction::triggered, this,
            [this, entry] { MessageBoxes::Guarded([&] { MRUClick(entry); }); });
    }
}

void TForm1::SetFileControlsEnabled(bool enabled)
{
    Memo1->setEnabled(enabled);
    spClose->setEnabled(enabled);
    spFind->setEnabled(enabled);
    spPrint->setEnabled(enabled);
}

void TForm1::Open1Click()
{
    // Made at its first use: the dialog watches the folder it shows from then on.
    if (!OpenDialog1) {
        OpenDialog1 = new QFileDialog(this);
        OpenDialog1->setObjectName(QStringLiteral("OpenDialog1"));
        OpenDialog1->setFileMode(QFileDialog::ExistingFile);
        OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
        OpenDialog1->setSizeGripEnabled(true);
    }
    if (OpenDialog1->exec() != QDialog::Accepted)
        return;
    const QString path = OpenDialog1->selectedFiles().value(0);
    if (path.isEmpty())
        return;
    LoadFile(path);
}

void TForm1::MRUClick(QAction *entry)
{
    LoadFile(entry->data().toString());
}

void TForm1::Close1Click()
{
    CloseFile();
}

void TForm1::File1Click()
{
    Print1->setEnabled(Memo1->isEnabled());
}

void TForm1::Exit1Click()
{
    close();
}

void TForm1::FindinFiles1Click()
{
    if (search_)
        search_->BringToFront();
}

void TForm1::spOpenClick()
{
    Open1->trigger();
}

void TForm1::spCloseClick()
{
    Close1->trigger();
}

// The Copy and Find buttons trigger their menu items, which act only while enabled; the Edit
// menu's rules run first, so that an item does not refuse for a state that has since changed.
void TForm1::spCopyClick()
{
    Edit1Click();
    CopyToClipboard->trigger();
}

void TForm1::spFindClick()
{
    Edit1Click();
    Find1->trigger();
}

void TForm1::spFindInFilesClick()
{
    FindinFiles1Click();
}

void TForm1::spPrintClick()
{
    Print1Click();
}

void TForm1::Memo1KeyUp(int key, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(key);
    Q_UNUSED(modifiers);
    Memo1Click();
}
