#include "TestEnvironment.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

namespace {

struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CliRun Cli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(BRIMLET_CLI), args);
    process.waitForFinished(30000);
    return { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
}

const QByteArray Gs = "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010";
const QByteArray Iea = "IEA*1*000000007";

class CliTest : public testing::Test
{
protected:
    QString Write(const QByteArray &bytes, const QString &name = QStringLiteral("file.edi"))
    {
        const QString path = dir_.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

    QTemporaryDir dir_;
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

} // namespace
