// Loading when the world misbehaves: the file changed by another program while it loads, the
// temporary folder gone or not a folder, and a viewer killed in the middle of a load.

#include "frmMain.h"

#include "CasePrinter.h"
#include "GFileIO.h"
#include "RawDataView.h"
#include "StartUp.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <functional>

namespace {

using CasePrinter::PrintTo;

// A file of many short segments: large enough for the progress bar to move several times.
QByteArray ManySegments(int count)
{
    QByteArray file = X12Builder::Isa() + "\r\nGS*IN*A*B*20240102*0930*7*X*004010~\r\n";
    for (int i = 0; i < count; ++i)
        file += "LX*" + QByteArray::number(i) + "~\r\n";
    return file + "IEA*1*000000007~\r\n";
}

class LoadFaultTest : public testing::Test
{
protected:
    // Loads path, running change once when the progress bar first reaches position.
    void LoadChangingAt(const QString &path, int position, const std::function<void()> &change)
    {
        bool done = false;
        const auto connection
            = QObject::connect(ui_.ProgressBar1, &QProgressBar::valueChanged, [&](int value) {
                  if (!done && value >= position) {
                      done = true;
                      change();
                  }
              });
        MessageBoxes::Guarded([&] { window_.LoadFile(path); });
        WindowProbe::WaitForLoad(window_);
        QObject::disconnect(connection);
        EXPECT_TRUE(done);
    }

    TestFolder dir_;
    MessageRecorder messages_;
    TForm1 window_ { QStringList() };
    MainWindowControls ui_ { window_ };
};

struct ChangeCase
{
    const char *name;
    bool whileLoading; // or once the file is loaded
    enum { Truncate, Grow, Delete } change;
};

class FileChangedOnDisk : public LoadFaultTest, public testing::WithParamInterface<ChangeCase>
{
};

// Another program cuts, grows or deletes the file shown, while it loads or after: the window
// asks once whether to reload or close it, and closing it leaves nothing behind.
TEST_P(FileChangedOnDisk, IsToldOnceAndClosedWhenAsked)
{
    const QByteArray bytes = ManySegments(400000);
    const QString path = dir_.Write(QStringLiteral("changing.x12"), bytes);
    int asked = 0;
    WindowProbe::SetReloadQuestion(window_, [&] {
        ++asked;
        return false;
    });
    const auto change = [&] {
        switch (GetParam().change) {
        case ChangeCase::Truncate:
            QFile::resize(path, bytes.size() / 3);
            break;
        case ChangeCase::Grow: {
            QFile file(path);
            if (file.open(QIODevice::Append))
                file.write("LX*1~\r\n");
            break;
        }
        case ChangeCase::Delete:
            QFile::remove(path);
            break;
        }
    };
    if (GetParam().whileLoading) {
        LoadChangingAt(path, 1, change);
    } else {
        LoadAndWait(window_, path);
        change();
    }
    QElapsedTimer waited;
    waited.start();
    while (asked == 0 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(WindowProbe::File(window_), nullptr) << "closed as asked";
    EXPECT_FALSE(ui_.ProgressBar1->isVisible());
    EXPECT_TRUE(messages_.Messages().empty()) << qPrintable(messages_.Texts().join('\n'));
    EXPECT_TRUE(OpenUnnamedFiles().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Changes, FileChangedOnDisk,
    testing::Values(ChangeCase { "TruncatedWhileLoading", true, ChangeCase::Truncate },
        ChangeCase { "TruncatedOnceLoaded", false, ChangeCase::Truncate },
        ChangeCase { "GrownWhileLoading", true, ChangeCase::Grow },
        ChangeCase { "GrownOnceLoaded", false, ChangeCase::Grow },
        ChangeCase { "DeletedWhileLoading", true, ChangeCase::Delete },
        ChangeCase { "DeletedOnceLoaded", false, ChangeCase::Delete }),
    [](const testing::TestParamInfo<ChangeCase> &info) { return info.param.name; });

TEST_F(LoadFaultTest, ReloadShowsTheFileAsItIsNow)
{
    const QString path = dir_.Write(QStringLiteral("grows.x12"), ManySegments(1000));
    WindowProbe::SetReloadQuestion(window_, [] { return true; });
    LoadAndWait(window_, path);
    ASSERT_EQ(WindowProbe::File(window_)->LineCount(), 1003);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("LX*more~\r\n");
    }
    QElapsedTimer waited;
    waited.start();
    while (WindowProbe::File(window_)->LineCount() != 1004 && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(WindowProbe::WaitForLoad(window_));
    EXPECT_EQ(WindowProbe::File(window_)->LineCount(), 1004);
    EXPECT_EQ(ui_.Memo1->GetLine(1003, 100), QByteArray("LX*more"));
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + path);
    EXPECT_TRUE(messages_.Messages().empty());
}

// No usable temporary folder: the reader's error in the box, the previous file kept, the bar
// hidden, nothing left anywhere.
TEST_F(LoadFaultTest, UnusableTemporaryFolderGivesTheErrorAndLeavesNothing)
{
    const QString first = dir_.Write(QStringLiteral("first.x12"), ThreeSegments());
    LoadAndWait(window_, first);
    // Many segments: a small file's index needs no temporary folder at all.
    const QString second = dir_.Write(QStringLiteral("second.x12"), ManySegments(70000));
    const QString notAFolder = dir_.Write(QStringLiteral("not-a-folder"), "x");
    const QByteArray saved = qgetenv("TMPDIR");
    const struct
    {
        QString folder;
        QString message;
    } cases[] = {
        { dir_.filePath(QStringLiteral("missing")),
            QStringLiteral("Cannot create the index file in %1: No such file or directory (I/O "
                           "error 2)")
                .arg(dir_.filePath(QStringLiteral("missing"))) },
        { notAFolder,
            QStringLiteral("Cannot create the index file in %1: Not a directory (I/O error 20)")
                .arg(notAFolder) },
    };
    for (const auto &c : cases) {
        qputenv("TMPDIR", QFile::encodeName(c.folder));
        MessageBoxes::Guarded([&] { window_.LoadFile(second); });
        WindowProbe::WaitForLoad(window_);
        qputenv("TMPDIR", saved);
        EXPECT_EQ(messages_.Texts().value(messages_.Texts().size() - 1), c.message);
        // The file shown keeps its reader.
        ASSERT_NE(WindowProbe::File(window_), nullptr);
        EXPECT_EQ(WindowProbe::File(window_)->FileName(), first);
        EXPECT_FALSE(ui_.ProgressBar1->isVisible());
        EXPECT_EQ(ui_.Memo1->GetLine(0, 3), QByteArray("ISA"));
        EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + first);
        EXPECT_EQ(WindowProbe::RecentFiles(window_).value(0), second);
        EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files).size(), 3);
        EXPECT_TRUE(IndexFilesLeft().isEmpty());
    }
}

// A viewer ended in the middle of a load, asked to stop (by the session, by "kill") or killed
// outright, leaves nothing in the temporary folder: its index file has no name. The next start
// of the program works.
TEST_F(LoadFaultTest, EndedDuringALoadLeavesNothing)
{
    const QString big = dir_.Write(QStringLiteral("big.x12"), ManySegments(4000000));
    for (const int signal : { SIGTERM, SIGKILL }) {
        SCOPED_TRACE(signal);
        QTemporaryDir tmp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), tmp.path());
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));

        QProcess viewer;
        viewer.setProcessEnvironment(environment);
        viewer.start(QStringLiteral(BRIMLET_EXE), { big });
        ASSERT_TRUE(viewer.waitForStarted());
        QElapsedTimer waited;
        waited.start();
        while (
            OpenUnnamedFiles(tmp.path(), viewer.processId()).isEmpty() && waited.elapsed() < 30000)
            QThread::msleep(2);
        ASSERT_EQ(OpenUnnamedFiles(tmp.path(), viewer.processId()).size(), 1)
            << "the load never began";
        ::kill(pid_t(viewer.processId()), signal);
        ASSERT_TRUE(viewer.waitForFinished(30000));
        EXPECT_EQ(viewer.exitStatus(), QProcess::CrashExit);
        EXPECT_TRUE(QDir(tmp.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

        QProcess next;
        next.setProcessEnvironment(environment);
        next.start(
            QStringLiteral(BRIMLET_EXE), { QStringLiteral(BRIMLET_SAMPLES "/po850-crlf.x12") });
        ASSERT_TRUE(next.waitForStarted());
        EXPECT_FALSE(next.waitForFinished(1500)) << "the next start ended by itself";
        next.kill();
        next.waitForFinished();
    }
}

} // namespace
