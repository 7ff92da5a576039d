#include "CliRun.h"
#include "TestEnvironment.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

// A 5010 interchange: "^" repeats elements, ":" separates components.
QByteArray Interchange5010(const QByteArrayList &segments)
{
    QByteArray bytes = X12Builder::Interchange(segments, "\n");
    bytes[82] = '^';
    return bytes;
}

class ExplainCommandTest : public testing::Test
{
protected:
    ExplainCommandTest()
    {
        path_ = dir_.filePath(QStringLiteral("claim.x12"));
        WriteBytes(path_,
            Interchange5010({ "N1*ST*ACME\\WEST\tDOCK*92*X", "CLM*A1*100***11:B:1",
                "HI*ABK:J209^ABF:R05", "GE*1*7", "IEA*1*000000007" }));
        QDir().mkpath(config_.path());
    }

    // Runs brimlet-cli explain with a settings folder of the test's own.
    CliRun Explain(const QStringList &args)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), config_.path());
        return Cli(QStringList { QStringLiteral("explain") } + args, {}, environment);
    }

    QTemporaryDir dir_;
    QTemporaryDir config_;
    QString path_;
};

// The shipped Elements.ini and Codes.ini lie beside the program.
TEST_F(ExplainCommandTest, PrintsTheRowsOfOneSegment)
{
    const struct
    {
        const char *segment;
        QByteArray out;
    } cases[] = {
        { "2",
            "N100\tParty Identification\tN1\t\n"
            "N101\tEntity Identifier Code\tST\tShip to\n"
            "N102\tName\tACME\\\\WEST\\tDOCK\t\n"
            "N103\tIdentification Code Qualifier\t92\tCode the buyer assigned\n"
            "N104\tIdentification Code\tX\t\n" },
        { "3",
            "CLM00\tHealth Claim\tCLM\t\n"
            "CLM01\tClaim Submitter's Identifier (Patient Control Number)\tA1\t\n"
            "CLM02\tTotal Claim Charge Amount\t100\t\n"
            "CLM03\tClaim Filing Indicator Code\t\t\n"
            "CLM04\tNon-Institutional Claim Type Code\t\t\n"
            "CLM05-1\tFacility Code Value\t11\tOffice (professional claim); hospital "
            "inpatient (institutional claim)\n"
            "CLM05-2\tFacility Code Qualifier\tB\tPlace of service of a professional or dental "
            "claim\n"
            "CLM05-3\tClaim Frequency Type Code\t1\tOriginal claim\n" },
        { "4",
            "HI00\tHealth Care Information Codes\tHI\t\n"
            "HI01-1-1\tCode List Qualifier Code\tABK\tPrincipal diagnosis (ICD-10)\n"
            "HI01-1-2\tIndustry Code\tJ209\t\n"
            "HI01-2-1\tCode List Qualifier Code\tABF\tDiagnosis (ICD-10)\n"
            "HI01-2-2\tIndustry Code\tR05\t\n" },
    };
    for (const auto &c : cases) {
        const CliRun run = Explain({ path_, QLatin1String(c.segment) });
        EXPECT_EQ(run.exitCode, 0) << c.segment;
        EXPECT_EQ(run.out, c.out) << c.segment;
        EXPECT_EQ(run.err, QByteArray()) << c.segment;
    }

    // The ISA's delimiters are values of their own.
    const CliRun isa = Explain({ path_, QStringLiteral("1") });
    const QList<QByteArray> lines = isa.out.split('\n');
    ASSERT_EQ(lines.size(), 18) << isa.out.constData(); // 17 rows and the end
    EXPECT_TRUE(lines[11].startsWith("ISA11\t")) << lines[11].constData();
    EXPECT_TRUE(lines[11].endsWith("\t^\t")) << lines[11].constData();
    EXPECT_TRUE(lines[16].endsWith("\t:\t")) << lines[16].constData();
}

TEST_F(ExplainCommandTest, TheUsersCodeListsOverrideAndTheirFaultsAreReported)
{
    WriteBytes(QDir(config_.path()).filePath(QStringLiteral("BrimletCodes.ini")),
        "[N101]\r\nST=Our dock\r\nnot a line\r\n[N103]\r\n92=\r\n");
    const CliRun run = Explain({ path_, QStringLiteral("2") });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
        "N100\tParty Identification\tN1\t\n"
        "N101\tEntity Identifier Code\tST\tOur dock\n"
        "N102\tName\tACME\\\\WEST\\tDOCK\t\n"
        "N103\tIdentification Code Qualifier\t92\t\n"
        "N104\tIdentification Code\tX\t\n");
    EXPECT_EQ(run.err,
        QDir(config_.path()).filePath(QStringLiteral("BrimletCodes.ini")).toUtf8()
            + ", line 3: neither a [SECTION] header nor a CODE=Meaning line\n");
}

TEST_F(ExplainCommandTest, WrongUsageAndRefusals)
{
    const struct
    {
        QStringList args;
        int exitCode;
        QByteArray err; // its start
    } cases[] = {
        { {}, 2, "Usage: " },
        { { path_ }, 2, "Usage: " },
        { { path_, QStringLiteral("two") }, 2, "Usage: " },
        { { path_, QStringLiteral("-1") }, 2, "Usage: " },
        { { path_, QStringLiteral("2"), QStringLiteral("3") }, 2, "Usage: " },
        { { path_, QStringLiteral("0") }, 1, "Segments are numbered from 1.\n" },
        { { path_, QStringLiteral("7") }, 1, "There is no segment 7: the file has 6 segments.\n" },
        { { path_, QStringLiteral("99999999999999999999") }, 2, "Usage: " },
        { { dir_.filePath(QStringLiteral("missing.x12")), QStringLiteral("1") }, 1,
            "Cannot open file " },
    };
    for (const auto &c : cases) {
        const CliRun run = Explain(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << qPrintable(c.args.join(u' '));
        EXPECT_TRUE(run.err.startsWith(c.err))
            << qPrintable(c.args.join(u' ')) << ": " << run.err.constData();
        EXPECT_EQ(run.out, QByteArray()) << qPrintable(c.args.join(u' '));
    }
}

} // namespace
