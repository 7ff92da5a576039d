// Loading when the world misbehaves: the file changed by another program while it loads, the
// temporary folder gone or not a folder, and a viewer killed in the middle of a load.

#include "frmMain.h"

#include "GFileIO.h"
#include "RawDataView.h"
#include "StartUp.h"
#include "TestEnvironment.h"
#include "UiTestSupport.h"
#include "WindowControls.h"
#include "WindowProbe.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

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
    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir_.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

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
        QObject::disconnect(connection);
        EXPECT_TRUE(done);
    }

    QTemporaryDir dir_;
    MessageRecorder messages_;
    TForm1 window_ { QStringList() };
    MainWindowControls ui_ { window_ };
};

struct ChangeCase
{
    const char *name;
    int position; // below 50 while the file is scanned, above while its segments are fetched
    enum { Truncate, Grow, Delete } change;
};

void PrintTo(const ChangeCase &c, std::ostream *os)
{
    *os << c.name;
}

class FileChangedDuringLoad : public LoadFaultTest, public testing::WithParamInterface<ChangeCase>
{
};

// A file deleted while it loads is still read whole through the reader's handle, and bytes
// added once it is indexed are not seen; one cut short, or grown while it is indexed, ends the
// load with the message that it changed, the bar hidden.
TEST_P(FileChangedDuringLoad, LoadEndsWithTheSegmentsItCouldRead)
{
    const QByteArray bytes = ManySegments(400000);
    const QString path = Write(QStringLiteral("changing.x12"), bytes);
    LoadChangingAt(path, GetParam().position, [&] {
        switch (GetParam().change) {
        case ChangeCase::Truncate:
            QFile::resize(path, bytes.size() / 3);
            break;
        case ChangeCase::Grow: {
            QFile file(path);
            if (file.open(QIODevice::Append))
                file.write(QByteArray(1 << 20, 'Z'));
            break;
        }
        case ChangeCase::Delete:
            QFile::remove(path);
            break;
        }
    });
    EXPECT_FALSE(ui_.ProgressBar1->isVisible());
    const bool seen = GetParam().change == ChangeCase::Truncate
        || (GetParam().change == ChangeCase::Grow && GetParam().position < 50);
    if (seen) {
        EXPECT_EQ(messages_.Texts(),
            QStringList(
                QStringLiteral("The file \"%1\" has changed on disk while it was being read.")
                    .arg(path)));
        return;
    }
    EXPECT_TRUE(messages_.Messages().empty()) << qPrintable(messages_.Texts().join('\n'));
    ASSERT_NE(WindowProbe::Reader(window_), nullptr);
    const qint64 count = WindowProbe::Reader(window_)->SegmentCount();
    EXPECT_EQ(ui_.Memo1->Model().LineCount(), count + 1);
    EXPECT_FALSE(ui_.ProgressBar1->isVisible());
    EXPECT_EQ(window_.windowTitle(), QStringLiteral("Brimlet - ") + path);
    EXPECT_EQ(count, 400003);
    EXPECT_EQ(ui_.Memo1->GetLine(count - 1, 100), QByteArray("IEA*1*000000007"));
}

INSTANTIATE_TEST_SUITE_P(Changes, FileChangedDuringLoad,
    testing::Values(ChangeCase { "TruncatedWhileScanned", 10, ChangeCase::Truncate },
        ChangeCase { "TruncatedWhileFetched", 60, ChangeCase::Truncate },
        ChangeCase { "GrownWhileScanned", 10, ChangeCase::Grow },
        ChangeCase { "GrownWhileFetched", 60, ChangeCase::Grow },
        ChangeCase { "DeletedWhileScanned", 10, ChangeCase::Delete },
        ChangeCase { "DeletedWhileFetched", 60, ChangeCase::Delete }),
    [](const testing::TestParamInfo<ChangeCase> &info) { return info.param.name; });

// No usable temporary folder: the reader's error in the box, the previous file kept, the bar
// hidden, nothing left anywhere.
TEST_F(LoadFaultTest, UnusableTemporaryFolderGivesTheErrorAndLeavesNothing)
{
    const QString first = Write(QStringLiteral("first.x12"), ThreeSegments());
    window_.LoadFile(first);
    // Many segments: a small file's index needs no temporary folder at all.
    const QString second = Write(QStringLiteral("second.x12"), ManySegments(70000));
    const QString notAFolder = Write(QStringLiteral("not-a-folder"), "x");
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
        qputenv("TMPDIR", saved);
        EXPECT_EQ(messages_.Texts().value(messages_.Texts().size() - 1), c.message);
        // The file shown keeps its reader.
        ASSERT_NE(WindowProbe::Reader(window_), nullptr);
        EXPECT_EQ(WindowProbe::Reader(window_)->FileName(), first);
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
    const QString big = Write(QStringLiteral("big.x12"), ManySegments(4000000));
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
