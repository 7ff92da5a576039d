#include "frmMain.h"

#include "CasePrinter.h"
#include "GFileIO.h"
#include "RawDataView.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QScopeGuard>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>

namespace {

using CasePrinter::PrintTo;

class MainWindowTest : public testing::Test
{
protected:
    QStringList RecentEntries() const
    {
        QStringList paths;
        for (const QAction *entry : ui_.RecentFiles->actions())
            paths.append(entry->data().toString());
        return paths;
    }

    // The view's lines, the empty last one included.
    QByteArrayList ViewLines() const
    {
        QByteArrayList lines;
        for (qint64 i = 0; i < ui_.Memo1->Model().LineCount(); ++i)
            lines.append(ui_.Memo1->GetLine(i, 1 << 20));
        return lines;
    }

    // The controls that need an open file, and File > Print as the File menu's rule sets it.
    void ExpectFileControls(bool open)
    {
        ui_.File1->popup(window_.mapToGlobal(QPoint(10, 10)));
        ui_.File1->hide();
        EXPECT_EQ(ui_.Memo1->isEnabled(), open);
        EXPECT_EQ(ui_.spClose->isEnabled(), open);
        EXPECT_EQ(ui_.spFind->isEnabled(), open);
        EXPECT_EQ(ui_.spPrint->isEnabled(), open);
        EXPECT_EQ(ui_.Print1->isEnabled(), open);
        EXPECT_TRUE(ui_.spOpen->isEnabled());
        EXPECT_TRUE(ui_.spFindInFiles->isEnabled());
        for (const QAction *item : { ui_.Open1, ui_.Close1, ui_.Exit1 })
            EXPECT_TRUE(item->isEnabled()) << qPrintable(item->objectName());
        EXPECT_TRUE(ui_.RecentFiles->isEnabled());
    }

    TestFolder dir_;
    MessageRecorder messages_;
    TForm1 window_ { QStringList() };
    MainWindowControls ui_ { window_ };
};

TEST_F(MainWindowTest, LoadsOneSegmentPerLine)
{
    const QString path = dir_.Write(QStringLiteral("three.x12"), ThreeSegments());
    LoadAndWait(window_, path);

    EXPECT_EQ(ViewLines(),
        QByteArrayList({ X12Builder::Isa().first(105),
            "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010", "IEA*1*000000007", "" }));
    EXPECT_EQ(ui_.Memo1->SelStart(), 0);
    EXPECT_EQ(ui_.Memo1->SelLength(), 0);
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + path);
    ASSERT_NE(WindowProbe::File(window_), nullptr);
    EXPECT_EQ(WindowProbe::File(window_)->FileName(), path);
    EXPECT_FALSE(ui_.ProgressBar1->isVisibleTo(&window_));
    EXPECT_TRUE(messages_.Messages().empty());
}

// A header whose elements are not padded is read by counting them, and the status bar says so.
TEST_F(MainWindowTest, AnUnpaddedHeaderIsNoted)
{
    const QByteArray isa
        = "ISA*00*          *00*          *ZZ*SND*ZZ*RECEIVERID     *240102*0930*U*"
          "00401*000000007*0*P*:~";
    LoadAndWait(window_,
        dir_.Write(QStringLiteral("short.x12"),
            isa + "\nGS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010~\nIEA*1*7~\n"));
    EXPECT_EQ(window_.statusBar()->currentMessage(),
        QStringLiteral(
            "The interchange header is 94 bytes long, not 106; its delimiters were found "
            "by counting its elements."));
    EXPECT_EQ(ui_.Memo1->GetLine(1, 100),
        QByteArray("GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010"));
}

// A CR or LF inside a segment stays in its line: line i is always segment i + 1.
TEST_F(MainWindowTest, BreakBytesInsideSegmentsKeepLinesInStepWithSegments)
{
    const QString path = dir_.Write(QStringLiteral("breaks.x12"),
        Interchange({ "ST*850*1", "REF*A\rB", "N1*X\nY\r\nZ", "SE*4*1" }, "\n"));
    LoadAndWait(window_, path);

    const QByteArrayList segments
        = { X12Builder::Isa().first(105), "ST*850*1", "REF*A\rB", "N1*X\nY\r\nZ", "SE*4*1" };
    ASSERT_EQ(ui_.Memo1->Model().LineCount(), segments.size() + 1);
    for (qsizetype i = 0; i < segments.size(); ++i)
        EXPECT_EQ(ui_.Memo1->GetLine(i, 1 << 20), segments[i]) << i;
}

TEST_F(MainWindowTest, EnablingFollowsTheOpenFile)
{
    ExpectFileControls(false);
    EXPECT_FALSE(ui_.spCopy->isEnabled());

    LoadAndWait(window_, dir_.Write(QStringLiteral("a.x12"), ThreeSegments()));
    ExpectFileControls(true);

    ui_.Close1->trigger();
    ExpectFileControls(false);
    EXPECT_EQ(ui_.Memo1->TextLength(), 0);
}

TEST_F(MainWindowTest, CloseTwiceThenOpen)
{
    // The Close item works with no file open too: it only clears and disables.
    ui_.Close1->trigger();
    ui_.Close1->trigger();
    ExpectFileControls(false);

    const QString path = dir_.Write(QStringLiteral("open.x12"), ThreeSegments());
    QTimer::singleShot(0, &window_, [&] {
        auto *dialog = Named<QFileDialog>(window_, "OpenDialog1");
        dialog->selectFile(path);
        static_cast<QDialog *>(dialog)->accept();
    });
    ui_.Open1->trigger();
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + path);
    ExpectFileControls(true);

    // Close releases the reader and its index; the title and the recent files stay.
    ui_.spClose->click();
    EXPECT_EQ(WindowProbe::File(window_), nullptr);
    EXPECT_TRUE(IndexFilesLeft().isEmpty());
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + path);
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList(path));
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(MainWindowTest, CancelledOpenChangesNothing)
{
    QTimer::singleShot(0, &window_, [&] { Named<QFileDialog>(window_, "OpenDialog1")->reject(); });
    ui_.spOpen->click();
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet"));
    EXPECT_TRUE(WindowProbe::RecentFiles(window_).isEmpty());
}

struct RefusedCase
{
    const char *name;
    QByteArray bytes;
    const char *message; // as the box shows it, period rule applied
};

class RefusedFileTest : public MainWindowTest, public testing::WithParamInterface<RefusedCase>
{
};

// The refused file goes first in the recent files; the previous text, its enabled state, its
// reader and the title stay, and the progress bar is hidden again.
TEST_P(RefusedFileTest, KeepsThePreviousTextAndTitle)
{
    const QString good = dir_.Write(QStringLiteral("good.x12"), ThreeSegments());
    LoadAndWait(window_, good);
    const QByteArrayList before = ViewLines();
    const QString bad = dir_.Write(QStringLiteral("bad.x12"), GetParam().bytes);

    ui_.RecentFiles->actions().first()->trigger(); // reload through its entry: fine
    ASSERT_TRUE(WindowProbe::WaitForLoad(window_));
    ASSERT_TRUE(messages_.Messages().empty());
    MessageBoxes::Guarded([&] { window_.LoadFile(bad); });

    EXPECT_EQ(messages_.Texts(), QStringList(QString::fromLatin1(GetParam().message)));
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList({ bad, good }));
    EXPECT_EQ(RecentEntries(), QStringList({ bad, good }));
    EXPECT_EQ(ViewLines(), before);
    EXPECT_TRUE(ui_.Memo1->isEnabled());
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + good);
    ASSERT_NE(WindowProbe::File(window_), nullptr);
    EXPECT_EQ(WindowProbe::File(window_)->FileName(), good);
    EXPECT_TRUE(IndexFilesLeft().isEmpty());
    EXPECT_FALSE(ui_.ProgressBar1->isVisibleTo(&window_));
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedFileTest,
    testing::Values(RefusedCase { "NotX12", QByteArray(200, 'x'), "Not a valid X12 file." },
        RefusedCase {
            "LowerCaseIsa", ThreeSegments().replace(0, 3, "isa"), "Not a valid X12 file." },
        RefusedCase { "Empty", QByteArray(), "Empty file." },
        RefusedCase { "TooShort", ThreeSegments().first(106), "Invalid X12 file." },
        RefusedCase { "ShortHeader", ThreeSegments().first(120), "Stream read error." }),
    [](const testing::TestParamInfo<RefusedCase> &info) { return info.param.name; });

TEST_F(MainWindowTest, MissingFileAndFolderGiveTheirReasons)
{
    const QString missing = dir_.filePath(QStringLiteral("missing.x12"));
    const QString folder = dir_.filePath(QStringLiteral("folder.x12"));
    ASSERT_TRUE(QDir().mkdir(folder));
    for (const QString &path : { missing, folder })
        MessageBoxes::Guarded([&] { window_.LoadFile(path); });
    EXPECT_EQ(messages_.Texts(),
        QStringList({ QStringLiteral("Cannot open file \"%1\". No such file or directory.")
                          .arg(missing),
            QStringLiteral("Cannot open file \"%1\". It is a folder, not a file.").arg(folder) }));
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList({ folder, missing }));
    EXPECT_TRUE(IndexFilesLeft().isEmpty());
}

TEST_F(MainWindowTest, RecentFilesMoveToTheFrontAndTheSubmenuShowsSix)
{
    QStringList paths;
    for (int i = 0; i < 7; ++i)
        paths.append(dir_.Write(QStringLiteral("f%1.x12").arg(i), ThreeSegments()));
    for (int i = 0; i < 3; ++i)
        LoadAndWait(window_, paths[i]);
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList({ paths[2], paths[1], paths[0] }));

    window_.LoadFile(paths[0]); // third moves up, the others keep their order
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList({ paths[0], paths[2], paths[1] }));
    window_.LoadFile(paths[0]); // already first: unchanged, reloaded
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList({ paths[0], paths[2], paths[1] }));

    for (int i = 3; i < 7; ++i)
        LoadAndWait(window_, paths[i]);
    const QStringList all
        = { paths[6], paths[5], paths[4], paths[3], paths[0], paths[2], paths[1] };
    EXPECT_EQ(WindowProbe::RecentFiles(window_), all) << "the list in memory is never shortened";
    EXPECT_EQ(RecentEntries(), all.first(6));

    // On Linux, paths differing in letter case are different files.
    const QString upper = dir_.Write(QStringLiteral("F6.x12"), ThreeSegments());
    LoadAndWait(window_, upper);
    EXPECT_EQ(WindowProbe::RecentFiles(window_).first(2), QStringList({ upper, paths[6] }));
}

// A path given relative to the current folder is recent as its absolute path, refused or not;
// the title shows it as given.
TEST_F(MainWindowTest, RecentFilesKeepAbsolutePaths)
{
    const QString absolute = dir_.Write(QStringLiteral("rel.x12"), ThreeSegments());
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    const auto restore = qScopeGuard([&] { QDir::setCurrent(saved); });

    LoadAndWait(window_, QStringLiteral("rel.x12"));
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - rel.x12"));
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList(absolute));
    LoadAndWait(window_, QStringLiteral("./rel.x12"));
    EXPECT_EQ(WindowProbe::RecentFiles(window_), QStringList(absolute)) << "the same file";
    MessageBoxes::Guarded([&] { window_.LoadFile(QStringLiteral("../missing.x12")); });
    EXPECT_EQ(RecentEntries(),
        QStringList(
            { QDir::cleanPath(dir_.path() + QStringLiteral("/../missing.x12")), absolute }));
}

TEST_F(MainWindowTest, RecentEntryShowsAnAmpersandAndOpensItsPath)
{
    const QString path = dir_.Write(QStringLiteral("R&D &x.x12"), ThreeSegments());
    const QString other = dir_.Write(QStringLiteral("other.x12"), ThreeSegments());
    LoadAndWait(window_, path);
    LoadAndWait(window_, other);

    QAccessibleInterface *menu = QAccessible::queryAccessibleInterface(ui_.RecentFiles);
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->childCount(), 2);
    EXPECT_EQ(menu->child(1)->text(QAccessible::Name), path)
        << "read as shown, not as accelerators";

    ui_.RecentFiles->actions().at(1)->trigger();
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + path);
    EXPECT_TRUE(messages_.Messages().empty());
}

// The bar follows the indexing from 0 to 100 beside the element name of the file shown, and
// is hidden at the end.
TEST_F(MainWindowTest, ProgressBarShowsTheRealProgress)
{
    QByteArrayList segments;
    for (int i = 0; i < 200000; ++i)
        segments.append("REF*ZZ*" + QByteArray::number(i));
    const QString path = dir_.Write(QStringLiteral("big.x12"), Interchange(segments));
    window_.show();
    LoadAndWait(window_, dir_.Write(QStringLiteral("three.x12"), ThreeSegments()));
    ASSERT_FALSE(ui_.StatusPanel1->text().isEmpty());

    std::vector<int> positions;
    bool visibleThroughout = true;
    bool besideTheName = true;
    QObject::connect(ui_.ProgressBar1, &QProgressBar::valueChanged, &window_, [&](int value) {
        positions.push_back(value);
        visibleThroughout = visibleThroughout && ui_.ProgressBar1->isVisible();
        const auto onWindow
            = [&](const QWidget *w) { return QRect(w->mapTo(&window_, QPoint(0, 0)), w->size()); };
        const QRect bar = onWindow(ui_.ProgressBar1);
        const QRect name = onWindow(ui_.StatusPanel1);
        besideTheName = besideTheName && bar.width() > 0 && !bar.intersects(name)
            && name.width() >= ui_.StatusPanel1->sizeHint().width()
            && onWindow(window_.statusBar()).contains(bar);
    });
    WindowProbe::SetIndexingDelay(window_, std::chrono::milliseconds(5));
    LoadAndWait(window_, path);

    ASSERT_FALSE(positions.empty());
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    EXPECT_GE(
        std::count_if(positions.begin(), positions.end(), [](int p) { return p > 0 && p < 100; }),
        3)
        << "the indexing shows its progress";
    EXPECT_EQ(positions.back(), 100);
    EXPECT_TRUE(visibleThroughout);
    EXPECT_TRUE(besideTheName) << "the bar and the element name do not overlap";
    EXPECT_FALSE(ui_.ProgressBar1->isVisible());
    EXPECT_EQ(ui_.Memo1->Model().LineCount(), 200000 + 2);
}

TEST_F(MainWindowTest, ReaderAndIndexGoWithTheWindow)
{
    {
        TForm1 window { QStringList() };
        QByteArray many = ThreeSegments();
        for (int i = 0; i < 70000; ++i)
            many += "LX*1~\r\n";
        LoadAndWait(window, dir_.Write(QStringLiteral("a.x12"), many));
        EXPECT_EQ(OpenUnnamedFiles().size(), 1);
        window.show();
        MainWindowControls(window).Exit1->trigger();
        EXPECT_FALSE(window.isVisible());
    }
    EXPECT_TRUE(OpenUnnamedFiles().isEmpty());
    EXPECT_TRUE(IndexFilesLeft().isEmpty());
}

TEST_F(MainWindowTest, EveryControlAndItemHasAReadableName)
{
    for (QWidget *control : std::initializer_list<QWidget *> { ui_.spOpen, ui_.spClose, ui_.spCopy,
             ui_.spFind, ui_.spFindInFiles, ui_.spPrint, ui_.Memo1, ui_.StatusPanel0,
             ui_.StatusPanel1, ui_.ProgressBar1, ui_.PageControl1, ui_.ToolStrip }) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << qPrintable(control->objectName());
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(&window_)->text(QAccessible::Name),
        QStringLiteral("Brimlet"));
    for (QMenu *menu : { ui_.File1, ui_.Edit1, ui_.ools1, ui_.Help1 }) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; i < accessible->childCount(); ++i) {
            QAccessibleInterface *item = accessible->child(i);
            if (item->role() != QAccessible::Separator) {
                EXPECT_FALSE(item->text(QAccessible::Name).isEmpty())
                    << qPrintable(menu->objectName()) << " item " << i;
            }
        }
    }
}

} // namespace
