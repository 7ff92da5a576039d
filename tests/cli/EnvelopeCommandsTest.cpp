#include "CliRun.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

namespace {

QByteArray Isa(const QByteArray &control)
{
    return X12Builder::Isa().replace("000000007", control);
}

// Two interchanges: the first with two groups, the second with one group and a set outside
// it; segments 1 to 19.
const QByteArray TwoInterchanges = Isa("000000905")
    + "\nGS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010~ST*810*0001~BIG*1~SE*3*0001~GE*1*7~"
      "GS*PO*SENDERID*RECEIVERID*20240102*0930*8*X*005010~ST*850*0001*005010X220A1~SE*2*0001~"
      "GE*1*8~IEA*2*000000905~"
    + Isa("000000906")
    + "GS*HC*A*B*20240102*0930*1*X*005010X222A1~ST*837*0001~SE*2*0001~GE*1*1~ST*997*0002~"
      "SE*2*0002~IEA*1*000000906~";

class EnvelopeCommandsTest : public testing::Test
{
protected:
    QString Write(const QByteArray &bytes) { return dir_.Write(QStringLiteral("file.x12"), bytes); }

    TestFolder dir_;
};

TEST_F(EnvelopeCommandsTest, CheckListsProblemsInSegmentOrder)
{
    // The set's missing SE is found at the GE but reported at the ST, before the GE's own.
    const QString file = Write(X12Builder::Interchange({ "GS*IN*A*B*20240102*0930*7*X*004010",
        "ST*810*0001", "BIG*1", "GE*2*8", "IEA*1*000000906" }));
    const CliRun run = Cli({ QStringLiteral("check"), file });
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out,
        "3\tST 0001 has no SE before the GE at segment 5\n"
        "5\tGE01 is 2 but the group has 1 transaction set\n"
        "5\tGE02 8 does not match GS06 7\n"
        "6\tIEA02 000000906 does not match ISA13 000000007\n");
    EXPECT_TRUE(run.err.isEmpty());

    const CliRun jsonRun = Cli({ QStringLiteral("check"), QStringLiteral("--json"), file });
    EXPECT_EQ(jsonRun.exitCode, 1);
    const QJsonObject document = QJsonDocument::fromJson(jsonRun.out).object();
    const QJsonArray problems = document.value(QLatin1String("problems")).toArray();
    ASSERT_EQ(problems.size(), 4);
    EXPECT_EQ(problems[0].toObject().value(QLatin1String("segment")).toInteger(), 3);
    EXPECT_EQ(problems[3].toObject().value(QLatin1String("message")).toString(),
        QStringLiteral("IEA02 000000906 does not match ISA13 000000007"));
    EXPECT_EQ(document.value(QLatin1String("omitted")).toInteger(), 0);
}

TEST_F(EnvelopeCommandsTest, ASoundFileChecksQuietly)
{
    const QString file = Write(TwoInterchanges);
    // The stray set of the second interchange is its only problem.
    CliRun run = Cli({ QStringLiteral("check"), file });
    EXPECT_EQ(run.out, "17\tST 0002 is not inside a functional group: no GS opens it\n");
    EXPECT_EQ(run.exitCode, 1);

    run = Cli({ QStringLiteral("check"),
        Write(X12Builder::Interchange({ "TA1*1*2*3*A*000", "IEA*0*000000007" })) });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
    run = Cli({ QStringLiteral("check"), QStringLiteral("--json"), dir_.filePath("file.x12") });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "{\"omitted\":0,\"problems\":[]}\n");
}

TEST_F(EnvelopeCommandsTest, OutlineListsEveryEnvelopeNested)
{
    const CliRun run = Cli({ QStringLiteral("outline"), Write(TwoInterchanges) });
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out,
        "1\tISA\tcontrol 000000905, sender ZZ SENDERID, receiver ZZ RECEIVERID, date 240102 "
        "0930, 2 groups, closed by IEA at 11\n"
        "2\t  GS\tIN, control 7, sender SENDERID, receiver RECEIVERID, version 004010, 1 set, "
        "closed by GE at 6\n"
        "3\t    ST\t810, control 0001, 3 segments, closed by SE at 5\n"
        "7\t  GS\tPO, control 8, sender SENDERID, receiver RECEIVERID, version 005010, 1 set, "
        "closed by GE at 10\n"
        "8\t    ST\t850, control 0001, convention 005010X220A1, 2 segments, closed by SE at 9\n"
        "12\tISA\tcontrol 000000906, sender ZZ SENDERID, receiver ZZ RECEIVERID, date 240102 "
        "0930, 1 group, closed by IEA at 19\n"
        "13\t  GS\tHC, control 1, sender A, receiver B, version 005010X222A1, 1 set, closed by "
        "GE at 16\n"
        "14\t    ST\t837, control 0001, 2 segments, closed by SE at 15\n"
        "17\t  ST\t997, control 0002, 2 segments, closed by SE at 18\n");
}

TEST_F(EnvelopeCommandsTest, OutlineJsonNestsGroupsAndSets)
{
    const CliRun run
        = Cli({ QStringLiteral("outline"), Write(TwoInterchanges), QStringLiteral("--json") });
    EXPECT_EQ(run.exitCode, 0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.constData();
    const QJsonArray interchanges
        = document.object().value(QLatin1String("interchanges")).toArray();
    ASSERT_EQ(interchanges.size(), 2);
    const QJsonObject first = interchanges[0].toObject();
    EXPECT_EQ(first.value(QLatin1String("control")).toString(), QStringLiteral("000000905"));
    EXPECT_EQ(first.value(QLatin1String("end")).toInteger(), 11);
    EXPECT_EQ(first.value(QLatin1String("groupCount")).toInteger(), 2);
    const QJsonObject po = first.value(QLatin1String("groups")).toArray()[1].toObject();
    EXPECT_EQ(po.value(QLatin1String("function")).toString(), QStringLiteral("PO"));
    const QJsonObject order = po.value(QLatin1String("sets")).toArray()[0].toObject();
    EXPECT_EQ(order.value(QLatin1String("segment")).toInteger(), 8);
    EXPECT_EQ(order.value(QLatin1String("convention")).toString(), QStringLiteral("005010X220A1"));
    EXPECT_EQ(order.value(QLatin1String("segmentCount")).toInteger(), 2);
    EXPECT_TRUE(order.value(QLatin1String("closed")).toBool());

    // The stray set sits in a group no GS opens: no segment of its own.
    const QJsonArray groups = interchanges[1].toObject().value(QLatin1String("groups")).toArray();
    ASSERT_EQ(groups.size(), 2);
    EXPECT_TRUE(groups[1].toObject().value(QLatin1String("implicit")).toBool());
    EXPECT_TRUE(groups[1].toObject().value(QLatin1String("segment")).isNull());
    EXPECT_EQ(groups[1].toObject().value(QLatin1String("sets")).toArray().size(), 1);
}

TEST_F(EnvelopeCommandsTest, RefusalsAndWrongUsage)
{
    const QString notX12 = Write("hello, this is not an interchange");
    for (const char *command : { "check", "outline" }) {
        const CliRun refused = Cli({ QLatin1String(command), notX12 });
        EXPECT_EQ(refused.exitCode, 1) << command;
        EXPECT_TRUE(refused.out.isEmpty()) << command;
        EXPECT_EQ(refused.err, "Invalid X12 file\n") << command;
    }
    const QString file = Write(TwoInterchanges);
    for (const QStringList &args : { QStringList { QStringLiteral("check") },
             QStringList { QStringLiteral("outline"), file, file },
             QStringList { QStringLiteral("check"), QStringLiteral("--xml"), file } }) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << qPrintable(args.join(' '));
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("Usage: brimlet-cli"));
    }
    // A file whose name begins with "--", after "--".
    WriteBytes(dir_.filePath(QStringLiteral("--odd.x12")), TwoInterchanges);
    const CliRun dashed
        = Cli({ QStringLiteral("outline"), QStringLiteral("--"), QStringLiteral("--odd.x12") },
            dir_.path());
    EXPECT_EQ(dashed.exitCode, 0);
    EXPECT_TRUE(dashed.out.startsWith("1\tISA\t"));
}

} // namespace
