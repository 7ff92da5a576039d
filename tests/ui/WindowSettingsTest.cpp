#include "frmMain.h"

#include "RawDataView.h"
#include "SettingsFolder.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "frmSearch.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

QStringList Items(const QComboBox *box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items.append(box->itemText(i));
    return items;
}

QStringList RecentEntries(const TForm1 &window)
{
    QStringList paths;
    for (const QAction *entry : MainWindowControls(window).RecentFiles->actions())
        paths.append(entry->data().toString());
    return paths;
}

QList<int> ColumnWidths(const TSearch &search)
{
    QList<int> widths;
    for (int i = 0; i < 4; ++i)
        widths.append(SearchWindowControls(search).StringGrid1->columnWidth(i));
    return widths;
}

void ShowAndSettle(QWidget &window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
}

// Both windows of one run, created in the program's order: the main window (which loads the
// settings), then Find in Files (which restores its part from the main window's list).
struct ProgramRun
{
    explicit ProgramRun(const QStringList &parameters = {})
        : form1(std::make_unique<TForm1>(parameters))
        , search(std::make_unique<TSearch>(form1->Settings()))
    {
        form1->SetSearchWindow(search.get());
    }

    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TSearch> search;
};

// Each test gets a configuration folder of its own, so that the settings file it checks is the
// one its windows wrote.
class WindowSettingsTest : public testing::Test
{
protected:
    WindowSettingsTest() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path())); }
    ~WindowSettingsTest() override { qputenv("XDG_CONFIG_HOME", savedConfig_); }

    QString SettingsPath() const { return config_.filePath(QStringLiteral("Brimlet.ini")); }
    QStringList StoredLines() const
    {
        QFile file(SettingsPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    // Where a window without settings comes up, for comparing parts left to the window system.
    static QRect DefaultFrame(QWidget &window)
    {
        ShowAndSettle(window);
        const QRect frame = window.frameGeometry();
        window.hide();
        return frame;
    }

    const QByteArray savedConfig_ = qgetenv("XDG_CONFIG_HOME");
    QTemporaryDir config_;
    TestFolder files_;
    MessageRecorder messages_;
};

TEST_F(WindowSettingsTest, ASecondRunRestoresBothWindowsRecentFilesAndHistories)
{
    QStringList opened;
    for (int i = 0; i < 7; ++i)
        opened.prepend(files_.Write(QStringLiteral("f%1.x12").arg(i), ThreeSegments()));
    const QStringList folders = { QStringLiteral("/data/in"), QStringLiteral("/data/a=b") };
    const QStringList texts = { QStringLiteral("N1*ST"), QStringLiteral("ISA*00") };
    QRect mainFrame;
    QRect searchFrame;
    {
        ProgramRun first;
        for (int i = 6; i >= 0; --i)
            first.form1->LoadFile(opened[i]);
        WindowProbe::SetFolderHistory(*first.search, folders);
        WindowProbe::SetSearchTextHistory(*first.search, texts);
        for (int i = 0; i < 4; ++i)
            SearchWindowControls(*first.search).StringGrid1->setColumnWidth(i, 70 + 10 * i);
        ShowAndSettle(*first.form1);
        ShowAndSettle(*first.search);
        // Negative positions are kept as well, but the offscreen platform moves windows it
        // would place partly off its screen.
        first.form1->move(20, 45);
        first.form1->resize(610, 380);
        first.search->move(250, 120);
        first.search->resize(520, 360);
        QCoreApplication::processEvents();
        mainFrame = first.form1->frameGeometry();
        searchFrame = first.search->frameGeometry();
        first.search->close(); // hidden, not gone: its settings are stored all the same
        first.form1->close();
    }
    ASSERT_TRUE(messages_.Messages().empty()) << qPrintable(messages_.Texts().join(u'\n'));
    EXPECT_EQ(StoredLines().first(4),
        QStringList({ QStringLiteral("Top=45"), QStringLiteral("Left=20"),
            QStringLiteral("Height=%1").arg(mainFrame.height()),
            QStringLiteral("Width=%1").arg(mainFrame.width()) }));

    ProgramRun second;
    EXPECT_EQ(WindowProbe::RecentFiles(*second.form1), opened.first(6));
    EXPECT_EQ(RecentEntries(*second.form1), opened.first(6));
    EXPECT_EQ(WindowProbe::FolderHistory(*second.search), folders);
    EXPECT_EQ(Items(SearchWindowControls(*second.search).Folder), folders);
    EXPECT_EQ(WindowProbe::SearchTextHistory(*second.search), texts);
    EXPECT_EQ(Items(SearchWindowControls(*second.search).FindText), texts);
    EXPECT_TRUE(SearchWindowControls(*second.search).Folder->currentText().isEmpty())
        << "only the items are filled";
    EXPECT_TRUE(SearchWindowControls(*second.search).FindText->currentText().isEmpty());
    EXPECT_EQ(ColumnWidths(*second.search), QList<int>({ 70, 80, 90, 100 }));

    ShowAndSettle(*second.form1);
    ShowAndSettle(*second.search);
    EXPECT_EQ(second.form1->frameGeometry(), mainFrame);
    EXPECT_EQ(second.search->frameGeometry(), searchFrame);
    EXPECT_EQ(second.form1->windowState(), Qt::WindowNoState);

    // A recent file opens from its restored entry.
    MainWindowControls(*second.form1).RecentFiles->actions().at(2)->trigger();
    EXPECT_EQ(second.form1->windowTitle(), QStringLiteral("Brimlet - ") + opened[2]);
    EXPECT_TRUE(messages_.Messages().empty());
}

TEST_F(WindowSettingsTest, FirstRunUsesTheDefaultsAndClosingCreatesTheFile)
{
    QRect defaultFrame;
    {
        TForm1 reference { QStringList() };
        defaultFrame = DefaultFrame(reference);
    }
    {
        ProgramRun first;
        EXPECT_TRUE(WindowProbe::RecentFiles(*first.form1).isEmpty());
        EXPECT_TRUE(MainWindowControls(*first.form1).RecentFiles->actions().isEmpty());
        EXPECT_EQ(SearchWindowControls(*first.search).Folder->count(), 0);
        EXPECT_EQ(SearchWindowControls(*first.search).FindText->count(), 0);
        EXPECT_EQ(ColumnWidths(*first.search), QList<int>({ 64, 64, 64, 64 }));
        ShowAndSettle(*first.form1);
        EXPECT_EQ(first.form1->frameGeometry(), defaultFrame);
        first.form1->close();
    }
    // The Find in Files window was never shown: the window system has not placed it, so it
    // has no position to store. The element panel is hidden at first.
    EXPECT_EQ(StoredLines(),
        QStringList({ QStringLiteral("Top=%1").arg(defaultFrame.top()),
            QStringLiteral("Left=%1").arg(defaultFrame.left()),
            QStringLiteral("Height=%1").arg(defaultFrame.height()),
            QStringLiteral("Width=%1").arg(defaultFrame.width()), QStringLiteral("StructurePane=0"),
            QStringLiteral("ProblemsPane=0"), QStringLiteral("ElementPanel=0") }))
        << "no column width was chosen";
    EXPECT_TRUE(messages_.Messages().empty());
}

// At first start the window shows a whole ISA line and thirty lines, as far as the screen lets it.
TEST_F(WindowSettingsTest, FirstStartShowsAWholeIsaLineAndThirtyLines)
{
    ProgramRun run({ files_.Write(QStringLiteral("three.x12"), ThreeSegments()) });
    ShowAndSettle(*run.form1);
    const RawDataView *view = MainWindowControls(*run.form1).Memo1;
    const QRect available = run.form1->screen()->availableGeometry();
    const QRect frame = run.form1->frameGeometry();
    EXPECT_TRUE(available.contains(frame));
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0) << "the ISA line shows whole";
    EXPECT_GE(view->PageLines(), 30);
    EXPECT_LE(view->PageLines(), 31);
}

// Each stored part replaces only what it names; an unusable one leaves its part to the window
// system or the design. Recent files keep their order without gaps and are renumbered.
TEST_F(WindowSettingsTest, EachUsablePartOnItsOwn)
{
    WriteBytes(SettingsPath(),
        "Top=40\r\nLeft=12abc\r\nheight=300\r\nWidth =640\r\n"
        "MRU1=/x/one.x12\r\nMRU3=/x/th=ree.x12\r\nMRU6=/x/seventh.x12\r\n"
        "SearchLeft=30\r\nSearchWidth=400\r\nSearchHeight=\r\nFileDirWidth=-5\r\n"
        "FileNameWidth=64\r\nFileDateWidth=90\r\n"
        "DirectoryHistory2=/in\r\nDirectoryHistory21=/beyond\r\nStranger=1\r\n");
    QRect defaultFrame;
    {
        TForm1 reference { QStringList() };
        defaultFrame = DefaultFrame(reference);
    }
    {
        ProgramRun run;
        ShowAndSettle(*run.form1);
        const QRect frame = run.form1->frameGeometry();
        EXPECT_EQ(frame.top(), 40);
        EXPECT_EQ(frame.left(), defaultFrame.left());
        EXPECT_EQ(frame.height(), 300);
        EXPECT_EQ(frame.width(), defaultFrame.width());
        EXPECT_EQ(
            WindowProbe::RecentFiles(*run.form1), QStringList({ "/x/one.x12", "/x/th=ree.x12" }));
        EXPECT_EQ(WindowProbe::FolderHistory(*run.search), QStringList({ "/in" }));
        EXPECT_EQ(ColumnWidths(*run.search), QList<int>({ 64, 64, 64, 90 }))
            << "the grid takes no negative width";
        run.form1->close();
    }
    const QStringList lines = StoredLines();
    EXPECT_EQ(lines.first(4),
        QStringList({ QStringLiteral("Top=40"), QStringLiteral("Left=%1").arg(defaultFrame.left()),
            QStringLiteral("Height=300"), QStringLiteral("Width=%1").arg(defaultFrame.width()) }));
    // The hidden Find in Files window stores again what it restored, and nothing else; of the
    // widths only the one chosen, not the designed one nor one the grid refused.
    EXPECT_EQ(lines.mid(4),
        QStringList({ "SearchLeft=30", "SearchWidth=400", "FileDateWidth=90", "MRU0=/x/one.x12",
            "MRU1=/x/th=ree.x12", "DirectoryHistory1=/in", "StructurePane=0", "ProblemsPane=0",
            "ElementPanel=0" }));
}

// A stored placement the screen cannot show is brought onto it before the window is shown: off
// every screen the window opens where the window system puts new ones, larger than the screen it
// is shrunk to it, partly off it is moved fully onto it.
TEST_F(WindowSettingsTest, AStoredPlacementComesWhollyOntoTheScreen)
{
    QRect defaultFrame;
    {
        TForm1 reference { QStringList() };
        defaultFrame = DefaultFrame(reference);
    }
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const struct
    {
        const char *name;
        QByteArray stored;
        QRect expected;
    } cases[] = {
        { "off every screen", "Top=100000\r\nLeft=100000\r\nHeight=300\r\nWidth=400\r\n",
            QRect(defaultFrame.topLeft(), QSize(400, 300)) },
        { "larger than the screen", "Top=0\r\nLeft=0\r\nHeight=100000\r\nWidth=100000\r\n",
            available },
        { "partly off to the left", "Top=50\r\nLeft=-200\r\nHeight=300\r\nWidth=400\r\n",
            QRect(available.left(), 50, 400, 300) },
    };
    for (const auto &c : cases) {
        WriteBytes(SettingsPath(), c.stored);
        ProgramRun run;
        EXPECT_TRUE(available.size().expandedTo(run.form1->size()) == available.size())
            << c.name << ": no larger than the screen before it is shown";
        ShowAndSettle(*run.form1);
        EXPECT_EQ(run.form1->frameGeometry(), c.expected) << c.name;
    }
}

TEST_F(WindowSettingsTest, AMaximizedWindowStoresNoGeometry)
{
    WriteBytes(SettingsPath(), "Top=40\r\nLeft=50\r\nHeight=300\r\nWidth=500\r\nMRU0=/x/a.x12\r\n");
    {
        ProgramRun run;
        run.form1->showMaximized();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(run.form1.get()));
        run.form1->close();
    }
    EXPECT_EQ(StoredLines(),
        QStringList({ "MRU0=/x/a.x12", "StructurePane=0", "ProblemsPane=0", "ElementPanel=0" }));
}

TEST_F(WindowSettingsTest, AFileOnTheCommandLineGoesInFrontOfTheStoredRecentFiles)
{
    WriteBytes(SettingsPath(), "MRU0=/x/older.x12\r\n");
    const QString path = files_.Write(QStringLiteral("new.x12"), ThreeSegments());
    ProgramRun run({ path });
    EXPECT_EQ(WindowProbe::RecentFiles(*run.form1), QStringList({ path, "/x/older.x12" }));
    EXPECT_EQ(RecentEntries(*run.form1), WindowProbe::RecentFiles(*run.form1));
    EXPECT_EQ(run.form1->windowTitle(), QStringLiteral("Brimlet - ") + path);
}

// The view shows the system's fixed-width font; View > Font chooses another, which the next run
// shows again. A cancelled choice changes nothing; a stored font that cannot be read is ignored.
TEST_F(WindowSettingsTest, TheViewsFontIsFixedWidthUntilChosenAndComesBack)
{
    const QFont chosen(QStringLiteral("DejaVu Serif"), 15);
    {
        ProgramRun first;
        const MainWindowControls ui(*first.form1);
        EXPECT_TRUE(QFontInfo(ui.Memo1->font()).fixedPitch());
        std::optional<QFont> answer; // cancelled
        WindowProbe::SetFontDialog(*first.form1, [&](const QFont &current) {
            EXPECT_EQ(current, ui.Memo1->font());
            return answer;
        });
        ui.Font1->trigger();
        EXPECT_TRUE(QFontInfo(ui.Memo1->font()).fixedPitch());
        answer = chosen;
        ui.Font1->trigger();
        EXPECT_EQ(ui.Memo1->font().family(), chosen.family());
        EXPECT_EQ(ui.Memo1->font().pointSize(), 15);
        first.form1->close();
    }
    EXPECT_TRUE(StoredLines().contains(QStringLiteral("ViewFont=") + chosen.toString()))
        << qPrintable(StoredLines().join(u'\n'));
    {
        ProgramRun second;
        const QFont font = MainWindowControls(*second.form1).Memo1->font();
        EXPECT_EQ(font.family(), chosen.family());
        EXPECT_EQ(font.pointSize(), 15);
    }
    WriteBytes(SettingsPath(), "ViewFont=Serif,15,x,y\r\n");
    ProgramRun third;
    EXPECT_TRUE(QFontInfo(MainWindowControls(*third.form1).Memo1->font()).fixedPitch());
}

// A folder in the file's place can be neither read nor replaced, whoever runs the test: both
// messages come, the rest of the creation is skipped, and the window still closes.
TEST_F(WindowSettingsTest, UnreadableAndUnwritableSettingsFileGiveTheirMessages)
{
    ASSERT_TRUE(QDir().mkpath(SettingsPath()));
    const QString path = files_.Write(QStringLiteral("named.x12"), ThreeSegments());
    ProgramRun run({ path });
    ASSERT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(messages_.Messages()[0].kind, MessageBoxes::Kind::Error);
    EXPECT_TRUE(messages_.Texts()[0].startsWith(
        QStringLiteral("Cannot open file \"%1\". ").arg(SettingsPath())))
        << qPrintable(messages_.Texts()[0]);
    EXPECT_EQ(run.form1->windowTitle(), QStringLiteral("Brimlet")) << "the command line is skipped";
    EXPECT_TRUE(WindowProbe::RecentFiles(*run.form1).isEmpty());
    EXPECT_TRUE(run.form1->Settings().Lines().isEmpty());

    ShowAndSettle(*run.form1);
    run.form1->close();
    ASSERT_EQ(messages_.Messages().size(), 2u);
    EXPECT_TRUE(messages_.Texts()[1].startsWith(
        QStringLiteral("Cannot create file \"%1\". ").arg(SettingsPath())))
        << qPrintable(messages_.Texts()[1]);
    EXPECT_FALSE(run.form1->isVisible());
}

TEST_F(WindowSettingsTest, AConfigurationFolderThatCannotBeMadeGivesTheCreateMessage)
{
    // A regular file where the folder should be: nothing can be created below it.
    const QString blocked = config_.filePath(QStringLiteral("blocked"));
    WriteBytes(blocked, "not a folder");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(blocked));
    ProgramRun run;
    EXPECT_TRUE(messages_.Messages().empty()) << "no file is no error";
    run.form1->close();
    EXPECT_EQ(messages_.Texts(),
        QStringList(QStringLiteral("Cannot create file \"%1/Brimlet.ini\". Not a directory.")
                        .arg(blocked)));
}

} // namespace
