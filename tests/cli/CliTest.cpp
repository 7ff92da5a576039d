#include "CliRun.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray Gs = "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010";
const QByteArray Iea = "IEA*1*000000007";

class CliTest : public testing::Test
{
protected:
    QString Write(const QByteArray &bytes, const QString &name = QStringLiteral("file.edi"))
    {
        return dir_.Write(name, bytes);
    }

    TestFolder dir_;
};

TEST_F(CliTest, IndexPrintsTheRecordsOfTheWorkedExamples)
{
    const QByteArray isa = X12Builder::Isa();
    const struct
    {
        QByteArray file;
        QByteArray index;
    } cases[] = {
        { isa + "\r\n" + Gs + "~\r\n" + Iea + "~\r\n", "0 105\n108 50\n161 15\n" },
        { isa + "\n" + Gs + "~\n" + Iea + "~\n", "0 105\n107 50\n159 15\n" },
        { isa + "\r\n" + Gs + "~\r\n" + Iea + "\r\n", "0 105\n108 50\n161 15\n" },
        { isa + "\r\n" + Gs + "~\r\n" + Iea + "~\r\n\r\n", "0 105\n108 50\n161 15\n" },
    };
    for (const auto &c : cases) {
        const CliRun run = Cli({ QStringLiteral("index"), Write(c.file) });
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out, c.index);
        EXPECT_TRUE(run.err.isEmpty());
    }
}

TEST_F(CliTest, SegmentsAndCountUnwrapAOneLineFile)
{
    const QString sample = QStringLiteral(BRIMLET_SAMPLES "/claim837-oneline.x12");
    QFile file(sample);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray expected = file.readAll();
    expected.replace('~', '\n');

    const CliRun segments = Cli({ QStringLiteral("segments"), sample });
    EXPECT_EQ(segments.exitCode, 0);
    EXPECT_EQ(segments.out, expected);

    const CliRun count = Cli({ QStringLiteral("count"), sample });
    EXPECT_EQ(count.exitCode, 0);
    EXPECT_EQ(count.out, QByteArray::number(expected.count('\n')) + "\n");
}

TEST_F(CliTest, RefusedFileGivesTheReadersMessageOnly)
{
    const QString missing = dir_.filePath(QStringLiteral("missing.x12"));
    const struct
    {
        QString path;
        QByteArray message;
    } cases[] = {
        { Write(QByteArray(200, 'x'), QStringLiteral("text.txt")), "Not a valid X12 file.\n" },
        { Write(QByteArray(), QStringLiteral("empty.edi")), "Empty file.\n" },
        { missing, "Cannot open file \"" + missing.toUtf8() + "\". No such file or directory\n" },
    };
    for (const auto &c : cases) {
        for (const char *command : { "segments", "count", "index" }) {
            const CliRun run = Cli({ QLatin1String(command), c.path });
            EXPECT_EQ(run.exitCode, 1) << command;
            EXPECT_TRUE(run.out.isEmpty()) << command;
            EXPECT_EQ(run.err, c.message) << command;
        }
    }
}

TEST_F(CliTest, WrongUsageAndHelp)
{
    for (const QStringList &args : { QStringList {}, QStringList { QStringLiteral("count") },
             QStringList { QStringLiteral("lines"), QStringLiteral("a") },
             QStringList { QStringLiteral("count"), QStringLiteral("a"), QStringLiteral("b") } }) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(args.join(' '));
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("Usage: brimlet-cli"));
    }
    const CliRun help = Cli({ QStringLiteral("--help") });
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith("Usage: brimlet-cli"));
    EXPECT_TRUE(help.err.isEmpty());
}

QByteArray X12With(const QByteArray &segment)
{
    return X12Builder::Interchange({ Gs, segment, Iea });
}

// The lines of segments: every text up to its first NUL byte, whatever its length, wherever
// the reader's chunks and the tool's output blocks end.
TEST_F(CliTest, SegmentsPrintsEachTextOnALineOfItsOwn)
{
    QByteArrayList texts { X12Builder::Isa().left(105) };
    QByteArray file = X12Builder::Isa() + "\r\n";
    const auto add = [&](const QByteArray &segment, const QByteArray &after) {
        texts.append(segment);
        file += segment + after;
    };
    // Short texts of every length up to 20, some holding a NUL, and enough segments that the
    // index would not fit in memory.
    for (int i = 0; i < 70000; ++i) {
        QByteArray segment = "N" + QByteArray::number(i) + QByteArray(i % 17, 'x');
        if (i % 1000 == 7)
            segment.insert(i % segment.size(), '\0');
        add(segment.left(i % 21), i % 3 ? "~\r\n" : "~");
    }
    add(QByteArray(3, '\0'), "~\n");
    add("LX*" + QByteArray(40000, '1'), "~"); // longer than a chunk
    add("NTE*" + QByteArray(1500000, 'a') + '\0' + "after the NUL", "~\n"); // than a block
    add("NTE*" + QByteArray(1100000, 'b'), "~");
    add("IEA*1*000000007", "  \r\n\t"); // unterminated, whitespace after it
    QByteArray expected;
    for (const QByteArray &text : texts)
        expected += text.left(text.indexOf('\0') < 0 ? text.size() : text.indexOf('\0')) + '\n';
    const QString path = Write(file);

    // No index file is made: a temporary folder that cannot hold one changes nothing.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), dir_.filePath(QStringLiteral("missing")));
    for (const char *command : { "segments", "index" }) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(BRIMLET_CLI), { QLatin1String(command), path });
        ASSERT_TRUE(process.waitForFinished(30000));
        if (QByteArray(command) == "segments") {
            EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
            const QByteArray out = process.readAllStandardOutput();
            EXPECT_EQ(out.size(), expected.size());
            EXPECT_TRUE(out == expected);
        } else {
            // The same file needs one for the index, or the check above would prove nothing.
            EXPECT_EQ(process.exitCode(), 1);
        }
    }
}

// Output that cannot be written, and a file that changes while it is read, end with status 1
// and the reason on stderr; the lines read before a reader's error are still written.
TEST_F(CliTest, SegmentsFailsPlainly)
{
    QByteArrayList segments { Gs };
    for (int i = 0; i < 200000; ++i)
        segments.append("LX*" + QByteArray::number(i));
    segments.append(Iea);
    const QByteArray large = X12Builder::Interchange(segments);
    for (const QByteArray &bytes : { X12With("N1*ST*A"), large }) {
        QProcess process;
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
        process.start(QStringLiteral(BRIMLET_CLI), { QStringLiteral("segments"), Write(bytes) });
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 1);
        EXPECT_EQ(process.readAllStandardError(), "Cannot write the output\n");
    }

    // The first block written fills the pipe, and the tool waits there, its file open, until
    // the file has grown.
    const QString path = Write(large);
    QProcess process;
    process.start(QStringLiteral(BRIMLET_CLI), { QStringLiteral("segments"), path });
    ASSERT_TRUE(process.waitForReadyRead(30000));
    QFile grow(path);
    ASSERT_TRUE(grow.open(QIODevice::Append));
    grow.write("LX*0~\r\n");
    grow.close();
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_EQ(process.readAllStandardError(),
        QFile::encodeName(
            QStringLiteral("The file \"%1\" has changed on disk while it was being read\n")
                .arg(path)));
    QByteArray expected = X12Builder::Isa().left(105) + '\n' + segments.join('\n') + '\n';
    EXPECT_TRUE(process.readAllStandardOutput() == expected);
}

// The tool's index file has no name, so that nothing is left however the tool ends: its reader
// gone ("| head"), stopped, or killed outright.
TEST_F(CliTest, EndedBySignalLeavesNothing)
{
    QByteArrayList segments { Gs };
    for (int i = 0; i < 400000; ++i)
        segments.append("LX*" + QByteArray::number(i));
    segments.append(Iea);
    const QString file = Write(X12Builder::Interchange(segments));

    {
        SCOPED_TRACE("broken pipe");
        QTemporaryDir tmp;
        QProcess shell;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), tmp.path());
        shell.setProcessEnvironment(environment);
        // As from a terminal: this test's process ignores SIGPIPE, and the pipeline would
        // inherit that.
        shell.setChildProcessModifier([] { std::signal(SIGPIPE, SIG_DFL); });
        shell.start(QStringLiteral("/bin/sh"),
            { QStringLiteral("-c"), QStringLiteral("\"$0\" segments \"$1\" | head -c 1"),
                QStringLiteral(BRIMLET_CLI), file });
        ASSERT_TRUE(shell.waitForFinished(30000));
        EXPECT_EQ(shell.readAllStandardOutput(), "I");
        EXPECT_TRUE(shell.readAllStandardError().isEmpty());
        EXPECT_TRUE(QDir(tmp.path()).isEmpty());
    }
    for (const int signal : { SIGTERM, SIGKILL }) {
        SCOPED_TRACE(signal);
        QTemporaryDir tmp;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), tmp.path());
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(BRIMLET_CLI), { QStringLiteral("index"), file });
        // The first output comes once the index is complete; the pipe then fills and the tool
        // waits on it, its index file open.
        ASSERT_TRUE(process.waitForReadyRead(30000));
        EXPECT_EQ(OpenUnnamedFiles(tmp.path(), process.processId()).size(), 1);
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitStatus(), QProcess::CrashExit);
        EXPECT_TRUE(QDir(tmp.path()).isEmpty());
    }
}

class CliFindTest : public CliTest
{
protected:
    void SetUp() override
    {
        QDir(dir_.path()).mkdir(QStringLiteral("sub"));
        top_ = Write(X12With("N1*ST*MARK"), QStringLiteral("top.x12"));
        below_ = Write(X12With("N1*ST*MARK"), QStringLiteral("sub/below.edi"));
        text_ = Write("MARK in a text file, " + QByteArray(200, '.'), QStringLiteral("notes.x12"));
        Write(X12With("N1*ST*NONE"), QStringLiteral("other.x12"));
    }

    QByteArray Line(const QString &path) const
    {
        return QFile::encodeName(path) + '\t' + QByteArray::number(QFileInfo(path).size()) + '\t';
    }

    QString top_, below_, text_;
};

TEST_F(CliFindTest, PrintsOneLinePerFileFound)
{
    const struct
    {
        QStringList options;
        QStringList found;
    } cases[] = {
        { {}, { top_ } }, { { "--subdirs" }, { top_, below_ } },
        { { "--subdirs", "--filespec", "*.EDI;*.txt" }, { below_ } },
        { { "--filespec", "*.edi" }, {} },
        { { "--match-case", "--subdirs" }, {} }, // the text is "mark"
    };
    for (const auto &c : cases) {
        const CliRun run = Cli(QStringList { "find", dir_.path(), "mark" } + c.options);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.err.isEmpty()) << run.err.constData();
        QList<QByteArray> lines = run.out.split('\n');
        EXPECT_EQ(lines.takeLast(), QByteArray()); // every line ends with LF
        ASSERT_EQ(lines.size(), c.found.size()) << run.out.constData();
        for (const QString &path : c.found) {
            const auto line = std::find_if(lines.begin(), lines.end(),
                [&](const QByteArray &l) { return l.startsWith(Line(path)); });
            ASSERT_NE(line, lines.end()) << qPrintable(path);
            EXPECT_GT(line->size(), Line(path).size()) << "a date follows";
            EXPECT_EQ(line->count('\t'), 2);
        }
    }
}

TEST_F(CliFindTest, VerboseGivesTheStatusTextsOnStderr)
{
    const CliRun run = Cli({ "find", "--verbose", dir_.path(), "MARK" });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(Line(top_)));
    const QList<QByteArray> status = run.err.trimmed().split('\n');
    EXPECT_EQ(status.first(), "Building file list....");
    EXPECT_EQ(status.last(), "Complete.");
    EXPECT_TRUE(status.contains(QFile::encodeName(top_)));
    EXPECT_TRUE(status.contains(QFile::encodeName(text_) + " - not an ASC X12 file."));
}

TEST_F(CliFindTest, NothingFoundIsNoError)
{
    // After "--" an argument beginning with "--" is the search text.
    const CliRun dashes = Cli({ "find", "--", dir_.path(), "--subdirs" });
    EXPECT_EQ(dashes.exitCode, 0);
    EXPECT_TRUE(dashes.out.isEmpty());
    EXPECT_TRUE(dashes.err.isEmpty());
}

// Exit status 0 means every candidate was read: a folder that cannot be listed or a file that
// cannot be read is named on stderr for what it is, and the status is 1.
TEST_F(CliFindTest, WhatCouldNotBeSearchedIsNamed)
{
    const CliRun missing = Cli({ "find", dir_.path() + "/missing", "MARK", "--subdirs" });
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_EQ(missing.err,
        QFile::encodeName(
            QStringLiteral("The folder \"%1/missing\" could not be listed: No such file "
                           "or directory\n")
                .arg(dir_.path())));

    const QString fifo = dir_.filePath(QStringLiteral("sub/pipe.x12"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const CliRun run = Cli({ "find", dir_.path(), "MARK", "--subdirs" });
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(Line(top_)));
    EXPECT_TRUE(lines[1].startsWith(Line(below_)));
    EXPECT_EQ(run.err,
        QFile::encodeName(QStringLiteral("\"%1\" could not be searched: Cannot open file \"%1\". "
                                         "Not a regular file\n")
                              .arg(fifo)));
}

// Names that are not UTF-8 are searched and listed by their bytes; --null ends each line with
// a NUL so that names holding line breaks stay whole.
TEST_F(CliFindTest, NamesAreListedByTheirBytes)
{
    const QByteArray folder = QFile::encodeName(dir_.path());
    for (const QByteArray &name :
        { QByteArray("/bad\xff\xfename.x12"), QByteArray("/two\nlines.x12") }) {
        QFile file;
        const int fd
            = ::open(QByteArray(folder + name).constData(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_TRUE(file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
        file.write(X12With("N1*ST*NAMED"));
    }
    const CliRun run = Cli({ "find", dir_.path(), "NAMED", "--null" });
    EXPECT_EQ(run.exitCode, 0);
    QList<QByteArray> paths;
    for (const QByteArray &record : run.out.split('\0')) {
        if (!record.isEmpty())
            paths.append(record.left(record.indexOf('\t')));
    }
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(
        paths, QList<QByteArray>({ folder + "/bad\xff\xfename.x12", folder + "/two\nlines.x12" }));

    // The same name as an argument, its bytes made by the shell.
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
        { QStringLiteral("-c"),
            QStringLiteral("\"$0\" count \"$(printf '%s/bad\\377\\376name.x12' \"$1\")\""),
            QStringLiteral(BRIMLET_CLI), dir_.path() });
    ASSERT_TRUE(shell.waitForFinished(30000));
    EXPECT_EQ(shell.exitCode(), 0) << shell.readAllStandardError().constData();
    EXPECT_EQ(shell.readAllStandardOutput(), "4\n");
    // The temporary folder's own removal cannot name them.
    ::unlink(QByteArray(folder + "/bad\xff\xfename.x12").constData());
}

TEST_F(CliFindTest, WrongUsage)
{
    for (const QStringList &args : { QStringList { "find" }, QStringList { "find", "a" },
             QStringList { "find", "a", "b", "c" }, QStringList { "find", "a", "b", "--bogus" },
             QStringList { "find", "a", "b", "--filespec" } }) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(args.join(' '));
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("Usage: brimlet-cli"));
    }
}

} // namespace
