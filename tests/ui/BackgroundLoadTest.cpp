// A file that loads behind the window: its first lines show before the end, the window works
// meanwhile, the commands that need the whole file say what they had, and Esc, Close or
// another file stop the load and leave nothing behind.

#include "frmMain.h"

#include "RawDataView.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPrinter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

class BackgroundLoadTest : public testing::Test
{
protected:
    BackgroundLoadTest()
    {
        // Slow enough that the load is still running while the test looks.
        WindowProbe::SetIndexingDelay(window_, std::chrono::milliseconds(20));
        window_.show();
    }

    QString BigFile(const QString &name = QStringLiteral("big.x12"))
    {
        QByteArrayList segments { "GS*PO*A*B*20240102*0930*7*X*004010", "ST*850*0001" };
        for (int i = 0; i < 100000; ++i)
            segments.append("PO1*" + QByteArray::number(i) + "*1*EA");
        segments += { "N1*ST*LAST", "SE*100003*0001", "GE*1*7", "IEA*1*000000007" };
        return dir_.Write(name, Interchange(segments));
    }

    // Handles events until ready() holds, or for at most timeout milliseconds.
    static bool WaitFor(const std::function<bool()> &ready, int timeout = 10000)
    {
        QElapsedTimer waited;
        waited.start();
        while (!ready() && waited.elapsed() < timeout)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return ready();
    }

    TestFolder dir_;
    MessageRecorder messages_;
    TForm1 window_ { QStringList() };
    MainWindowControls ui_ { window_ };
};

TEST_F(BackgroundLoadTest, FirstLinesShowBeforeTheEndAndTheWindowWorks)
{
    window_.LoadFile(BigFile());
    ASSERT_TRUE(WaitFor([&] { return ui_.Memo1->Model().LineCount() > 100; }));
    EXPECT_TRUE(WindowProbe::Loading(window_));
    EXPECT_TRUE(ui_.ProgressBar1->isVisible());
    EXPECT_EQ(ui_.Memo1->GetLine(2, 100), QByteArray("ST*850*0001"));

    // The caret and the status bar work on what is there.
    ui_.Memo1->setFocus();
    ui_.Memo1->SetCaretPos(4, LineNumber(3));
    QTest::keyClick(ui_.Memo1, Qt::Key_Down);
    EXPECT_EQ(ui_.StatusPanel0->text(), QStringLiteral("Line: 5 Col: 5 PO101"));

    // A search for what is not there yet says how far it looked.
    ui_.Memo1->SetCaretPos(0, LineNumber(2));
    ui_.GotoNextMatchingSegmentType1->trigger();
    ASSERT_EQ(messages_.Texts().size(), 1);
    EXPECT_TRUE(messages_.Texts().first().startsWith(QLatin1String("Not found in the ")))
        << qPrintable(messages_.Texts().first());

    ASSERT_TRUE(WindowProbe::WaitForLoad(window_));
    EXPECT_FALSE(ui_.ProgressBar1->isVisible());
    EXPECT_EQ(ui_.Memo1->Model().LineCount(), 100007 + 1);
}

// Esc while the file loads, File > Close, or another file: the load stops and its index goes.
TEST_F(BackgroundLoadTest, StoppingTheLoadLeavesNothing)
{
    const QString big = BigFile();
    const QString other = BigFile(QStringLiteral("other.x12"));
    const struct
    {
        const char *name;
        std::function<void()> stop;
        bool fileAfter;
    } cases[] = {
        { "Esc", [&] { QTest::keyClick(ui_.Memo1, Qt::Key_Escape); }, false },
        { "Close", [&] { ui_.Close1->trigger(); }, false },
        { "another file", [&] { window_.LoadFile(other); }, true },
    };
    for (const auto &c : cases) {
        window_.LoadFile(big);
        ASSERT_TRUE(WaitFor([&] { return ui_.Memo1->Model().LineCount() > 100; })) << c.name;
        ASSERT_EQ(OpenUnnamedFiles().size(), 1) << c.name;
        c.stop();
        if (c.fileAfter) {
            ASSERT_NE(WindowProbe::File(window_), nullptr);
            EXPECT_EQ(WindowProbe::File(window_)->FileName(), other);
            EXPECT_EQ(OpenUnnamedFiles().size(), 1) << c.name << ": the other file's alone";
            ui_.Close1->trigger();
        } else {
            EXPECT_EQ(WindowProbe::File(window_), nullptr) << c.name;
            EXPECT_FALSE(ui_.ProgressBar1->isVisible()) << c.name;
            EXPECT_EQ(ui_.Memo1->TextLength(), 0) << c.name;
        }
        EXPECT_TRUE(OpenUnnamedFiles().isEmpty()) << c.name;
        EXPECT_TRUE(QDir(TestEnvironment::TempFolder())
                        .entryList({ QStringLiteral("x12*") }, QDir::Files)
                        .isEmpty());
    }
    EXPECT_TRUE(messages_.Messages().empty()) << qPrintable(messages_.Texts().join(u'\n'));
}

// Print asks before printing thousands of pages.
TEST_F(BackgroundLoadTest, PrintAsksBeforeManyPages)
{
    WindowProbe::SetIndexingDelay(window_, std::chrono::microseconds(0));
    LoadAndWait(window_, BigFile());
    qint64 asked = 0;
    WindowProbe::SetPrintConfirmation(window_, [&](qint64 pages) {
        asked = pages;
        return false;
    });
    bool printed = false;
    WindowProbe::SetPrintDialog(window_, [&](QPrinter &) {
        printed = true;
        return true;
    });
    ui_.Print1->trigger();
    EXPECT_TRUE(printed) << "the dialog was shown";
    EXPECT_GT(asked, 1000);
    EXPECT_TRUE(messages_.Messages().empty());
}

} // namespace
