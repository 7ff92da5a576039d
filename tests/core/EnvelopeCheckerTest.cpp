#include "EnvelopeChecker.h"

#include "EnvelopeFixture.h"
#include "GFileIO.h"
#include "TestEnvironment.h"
#include "TextPrinters.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <utility>
#include <vector>

namespace {

using Problems = std::vector<std::pair<qint64, QString>>;

using EnvelopeFixture::Isa;

const QByteArray Gs7 = "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010";
const QByteArray Gs8 = "GS*PO*SENDERID*RECEIVERID*20240102*0930*8*X*005010";

// Segments 1 to 7 of a sound interchange with one group of one set.
QByteArrayList Sound()
{
    return { Isa(), Gs7, "ST*810*0001", "BIG*20240102*INV1", "SE*3*0001", "GE*1*7",
        "IEA*1*000000007" };
}

QByteArrayList With(QByteArrayList segments, qsizetype at, const QByteArray &segment)
{
    segments[at] = segment;
    return segments;
}

QByteArrayList Without(QByteArrayList segments, qsizetype at)
{
    segments.removeAt(at);
    return segments;
}

QByteArrayList Replaced(QByteArrayList segments, const QByteArray &from, const QByteArray &to)
{
    for (QByteArray &segment : segments)
        segment.replace(from, to);
    return segments;
}

QByteArrayList Inserted(QByteArrayList segments, qsizetype at, const QByteArrayList &more)
{
    for (qsizetype i = 0; i < more.size(); ++i)
        segments.insert(at + i, more[i]);
    return segments;
}

class EnvelopeCheckerTest : public testing::Test
{
protected:
    // Checks the file of segments, each ended by "~" and a line break, in the reader's index
    // pass.
    void Run(const QByteArrayList &segments)
    {
        const QString path = dir_.filePath(QStringLiteral("check.x12"));
        WriteBytes(path, segments.join("~\n") + "~\n");
        TGFile reader(path);
        EnvelopeChecker checker;
        reader.SetScanObserver(checker.Observer());
        reader.SegmentCount();
        checker.Finish();
        outline_ = checker.TakeOutline();
        problems_ = checker.TakeProblems();
    }

    Problems Check(const QByteArrayList &segments)
    {
        Run(segments);
        Problems found;
        for (qint64 i = 0; i < problems_.Count(); ++i)
            found.emplace_back(problems_.Segment(i), problems_.Message(i));
        return found;
    }

    QTemporaryDir dir_;
    EnvelopeOutline outline_;
    EnvelopeProblems problems_;
};

TEST_F(EnvelopeCheckerTest, EachProblemIsReportedAtItsSegmentNamingItsElements)
{
    const QByteArrayList twoSets
        = With(Inserted(Sound(), 5, { "ST*810*0002", "SE*2*0002" }), 7, "GE*2*7");
    const QByteArrayList hl = Inserted(Sound(), 4, { "HL*1**20*1", "HL*2*1*22*0" });
    const struct
    {
        const char *name;
        QByteArrayList segments;
        Problems expected;
    } cases[] = {
        { "SE01", With(Sound(), 4, "SE*4*0001"),
            { { 5, "SE01 is 4 but the transaction set has 3 segments" } } },
        { "SE01 not a number", With(Sound(), 4, "SE*3a*0001"),
            { { 5, "SE01 is 3a but the transaction set has 3 segments" } } },
        { "SE01 empty", With(Sound(), 4, "SE**0001"),
            { { 5, "SE01 is empty but the transaction set has 3 segments" } } },
        { "SE02", With(Sound(), 4, "SE*3*0002"), { { 5, "SE02 0002 does not match ST02 0001" } } },
        { "SE02 holding a tab and a line break", With(Sound(), 4, "SE*3*00\t\n1"),
            { { 5, "SE02 00<09><0A>1 does not match ST02 0001" } } },
        { "ST without SE before the next ST", Without(twoSets, 4),
            { { 3, "ST 0001 has no SE before the next ST at segment 5" } } },
        { "ST without SE before GE", Without(Sound(), 4),
            { { 3, "ST 0001 has no SE before the GE at segment 5" } } },
        { "ST without SE before IEA", Without(Without(Sound(), 5), 4),
            { { 2, "GS 7 has no GE before the IEA at segment 5" },
                { 3, "ST 0001 has no SE before the IEA at segment 5" } } },
        // A GS ends an open set as a GE would.
        { "ST without SE before the next GS",
            Replaced(Inserted(Without(Without(Sound(), 5), 4), 4, { Gs8, "GE*0*8" }), "IEA*1*",
                "IEA*2*"),
            { { 2, "GS 7 has no GE before the next GS at segment 5" },
                { 3, "ST 0001 has no SE before the next GS at segment 5" } } },
        { "ST without SE at the end", Sound().mid(0, 4),
            { { 1, "ISA 000000007 has no IEA before the end of the file" },
                { 2, "GS 7 has no GE before the end of the file" },
                { 3, "ST 0001 has no SE before the end of the file" } } },
        { "GE01", With(Sound(), 5, "GE*2*7"),
            { { 6, "GE01 is 2 but the group has 1 transaction set" } } },
        { "GE02", With(Sound(), 5, "GE*1*8"), { { 6, "GE02 8 does not match GS06 7" } } },
        { "GS without GE before the next GS", Inserted(Without(Sound(), 5), 5, { Gs8, "GE*0*8" }),
            { { 2, "GS 7 has no GE before the next GS at segment 6" },
                { 8, "IEA01 is 1 but the interchange has 2 functional groups" } } },
        { "IEA01", With(Sound(), 6, "IEA*2*000000007"),
            { { 7, "IEA01 is 2 but the interchange has 1 functional group" } } },
        { "IEA02", With(Sound(), 6, "IEA*1*000000906"),
            { { 7, "IEA02 000000906 does not match ISA13 000000007" } } },
        { "ISA without IEA before the next ISA", Without(Sound(), 6) + Sound(),
            { { 1, "ISA 000000007 has no IEA before the next ISA at segment 7" } } },
        { "ST02 repeated in a group", With(With(twoSets, 5, "ST*810*0001"), 6, "SE*2*0001"),
            { { 6,
                "ST02 0001 repeats the control number of an earlier transaction set in the "
                "group" } } },
        { "GS06 repeated in an interchange",
            Replaced(Inserted(Sound(), 6, { Gs7, "GE*0*7" }), "IEA*1*", "IEA*2*"),
            { { 7, "GS06 7 repeats the control number of an earlier group in the interchange" } } },
        { "HL01 out of order", Replaced(With(hl, 5, "HL*3*1*22*0"), "SE*3*", "SE*5*"),
            { { 6, "HL01 is 3 but the transaction set has 2 HL segments so far" } } },
        { "HL02 names no earlier HL01", Replaced(With(hl, 5, "HL*2*5*22*0"), "SE*3*", "SE*5*"),
            { { 6, "HL02 5 names no HL01 given earlier in the transaction set" } } },
        { "HL02 names the HL itself", Replaced(With(hl, 4, "HL*1*1*20*1"), "SE*3*", "SE*5*"),
            { { 5, "HL02 1 names no HL01 given earlier in the transaction set" } } },
        { "SE with nothing open", Inserted(Sound(), 5, { "SE*2*0001" }),
            { { 6, "SE has no open ST to close" } } },
        { "GE with nothing open", Inserted(Sound(), 6, { "GE*1*7" }),
            { { 7, "GE has no open GS to close" } } },
        { "IEA with nothing open", Sound() + QByteArrayList { "IEA*1*000000007" },
            { { 8, "IEA has no open ISA to close" } } },
        { "a segment between SE and GE", Inserted(Sound(), 5, { "N1*ST*ACME" }),
            { { 6, "N1 is outside a transaction set" } } },
        { "segments between GS and ST", Inserted(Sound(), 2, { "N1*ST*ACME", "N3*MAIN ST", "" }),
            { { 3, "N1 and 2 more segments, to segment 5, are outside a transaction set" } } },
        { "an empty segment after the IEA", Sound() + QByteArrayList { "" },
            { { 8, "An empty segment is outside a transaction set" } } },
        { "TA1 inside a group", Inserted(Sound(), 5, { "TA1*000000007*240102*0930*A*000" }),
            { { 6, "TA1 is outside a transaction set" } } },
        { "ST outside a group", Inserted(Sound(), 6, { "ST*997*0009", "SE*2*0009" }),
            { { 7, "ST 0009 is not inside a functional group: no GS opens it" } } },
        { "GS outside an interchange", Sound() + QByteArrayList { Gs8, "GE*0*8" },
            { { 8, "GS 8 is not inside an interchange: no ISA opens it" } } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Check(c.segments), c.expected);
    }
}

TEST_F(EnvelopeCheckerTest, ProblemsAreFoundBySegment)
{
    // Two problems at segment 6, in the order they were found, and one found later at 3.
    const QByteArrayList hl = Inserted(Without(Sound(), 4), 4, { "HL*1**20*1", "HL*3*2*22*0" });
    EXPECT_EQ(Check(hl),
        Problems({ { 3, "ST 0001 has no SE before the GE at segment 7" },
            { 6, "HL02 2 names no HL01 given earlier in the transaction set" },
            { 6, "HL01 is 3 but the transaction set has 2 HL segments so far" } }));
    EXPECT_EQ(problems_.At(6), std::make_pair(qint64(1), qint64(3)));
    EXPECT_EQ(problems_.At(5), std::make_pair(qint64(1), qint64(1)));
    EXPECT_EQ(problems_.FirstAtOrAfter(7), 3);
}

TEST_F(EnvelopeCheckerTest, ProblemsBeyondTheLimitAreCountedNotKept)
{
    EnvelopeChecker checker;
    const qint64 total = EnvelopeProblems::MaxKept + 2;
    for (qint64 n = 1; n <= total; ++n)
        checker.Segment(n, { 0, 9 }, "SE*2*0001", Delimiters());
    checker.Finish();
    const EnvelopeProblems problems = checker.TakeProblems();
    EXPECT_EQ(problems.Count(), EnvelopeProblems::MaxKept);
    EXPECT_EQ(problems.Omitted(), 2);
    EXPECT_EQ(problems.Summary(), QStringLiteral("%1 problems").arg(total));
    EXPECT_EQ(problems.Segment(problems.Count() - 1), EnvelopeProblems::MaxKept);
}

TEST_F(EnvelopeCheckerTest, AHeaderThatIsNot106BytesLongIsReportedAtItsIsa)
{
    const QByteArrayList segments = With(
        Sound(), 0, "ISA*00**00**ZZ*SENDERID*ZZ*RECEIVERID*240102*0930*U*00401*000000007*0*P*:");
    EXPECT_EQ(Check(segments),
        Problems({ { 1,
            "The interchange header is " + QString::number(segments[0].size() + 1)
                + " bytes long, not 106" } }));
    EXPECT_EQ(outline_.Text(outline_.Interchange(0).Sender), "SENDERID");
}

TEST_F(EnvelopeCheckerTest, ValuesCompareAsTheirKindDoes)
{
    // Digits as numbers, text without the spaces around it, counts as numbers.
    const QByteArrayList sound[] = {
        With(With(Sound(), 0, Isa("000003438")), 6, "IEA*1*3438"),
        With(With(Sound(), 2, "ST*810*A1 "), 4, "SE*3* A1"),
        With(Sound(), 4, "SE*0003*0001"),
        With(Sound(), 5, "GE*1*0000007"),
        With(With(Sound(), 1, QByteArray(Gs7).replace("*7*", "*G7*")), 5, "GE*1*G7"),
        Replaced(Inserted(Sound(), 4, { "HL*1**20*1", "HL*02*01*22*0", "TA1" }), "SE*3*", "SE*6*"),
        // TA1 stands directly in an interchange.
        Inserted(Sound(), 1, { "TA1*000000007*240102*0930*A*000" }),
    };
    for (const QByteArrayList &segments : sound)
        EXPECT_EQ(Check(segments), Problems()) << segments.join('~').toStdString();

    const QByteArrayList unsound[] = {
        With(Sound(), 4, "SE*-3*0001"),
        With(Sound(), 4, "SE*3.0*0001"),
        With(With(Sound(), 2, "ST*810*A1"), 4, "SE*3*a1"),
        With(Sound(), 5, "GE*1*07X"),
    };
    for (const QByteArrayList &segments : unsound)
        EXPECT_EQ(Check(segments).size(), 1u) << segments.join('~').toStdString();
}

TEST_F(EnvelopeCheckerTest, ASoundFileOfSeveralInterchangesHasNoProblems)
{
    // Second interchange: other delimiters, two groups, HL trees, a BOM before the first.
    QByteArray pipes = X12Builder::Isa('|', '^', '!').replace("000000007", "000000008");
    const QByteArray second = pipes
        + "\r\nGS|HC|A|B|20240102|0930|1|X|005010X222A1!ST|837|0001|005010X222A1!"
          "HL|1||20|1!NM1|85|2|CLINIC|||||XX|1!HL|2|1|22|0!NM1|IL|1|DOE|JANE!SE|6|0001!"
          "ST|837|0002|005010X222A1!HL|1||20|1!SE|3|0002!GE|2|1!"
          "GS|HC|A|B|20240102|0930|2|X|005010X222A1!ST|837|0001!SE|2|0001!GE|1|2!"
          "IEA|2|000000008!";
    const QString path = dir_.filePath(QStringLiteral("sound.x12"));
    WriteBytes(path, "\xEF\xBB\xBF" + Sound().join("~\r\n") + "~\r\n" + second);
    TGFile reader(path);
    EnvelopeChecker checker;
    reader.SetScanObserver(checker.Observer());
    reader.SegmentCount();
    checker.Finish();
    EXPECT_TRUE(checker.Problems().IsEmpty()) << checker.Problems().Message(0).toStdString();
    EXPECT_EQ(checker.Problems().Summary(), QStringLiteral("No problems"));
    const EnvelopeOutline outline = checker.TakeOutline();
    EXPECT_EQ(outline.InterchangeCount(), 2);
    EXPECT_EQ(outline.SetCount(), 4);
    EXPECT_EQ(outline.Interchange(1).Separators.Element, '|');
}

TEST_F(EnvelopeCheckerTest, OutlineHoldsEveryEnvelopeWithItsKeyElements)
{
    QByteArrayList second = Sound();
    second[0] = Isa("000000905");
    second = Inserted(second, 1, { "TA1*000000007*240102*0930*A*000" });
    second = Inserted(second, 7,
        { Gs8, "ST*850*0001*005010X220A1", "BEG*00*SA*PO1", "REF*DP*1", "SE*4*0001", "ST*850*0002",
            "SE*2*0002", "GE*2*8" });
    second.last() = "IEA*2*000000905";
    Run(Sound() + second);

    EXPECT_EQ(problems_.Count(), 0);
    ASSERT_EQ(outline_.InterchangeCount(), 2);
    ASSERT_EQ(outline_.GroupCount(), 3);
    ASSERT_EQ(outline_.SetCount(), 4);
    const InterchangeRecord &first = outline_.Interchange(0);
    EXPECT_EQ(
        std::make_tuple(first.First, first.Last, first.FirstGroup, first.GroupCount, first.Closed),
        std::make_tuple(1, 7, 0, 1, true));
    const InterchangeRecord &isa = outline_.Interchange(1);
    EXPECT_EQ(std::make_tuple(isa.First, isa.Last, isa.FirstGroup, isa.GroupCount, isa.GsCount),
        std::make_tuple(8, 23, 1, 2, 2));
    const auto text = [&](TextBlocks::Ref ref) { return outline_.Text(ref).toByteArray(); };
    EXPECT_EQ(
        QByteArrayList({ text(isa.SenderQualifier), text(isa.Sender), text(isa.ReceiverQualifier),
            text(isa.Receiver), text(isa.Date), text(isa.Time), text(isa.Control) }),
        QByteArrayList({ "ZZ", "SENDERID", "ZZ", "RECEIVERID", "240102", "0930", "000000905" }));

    const GroupRecord &po = outline_.Group(2);
    EXPECT_EQ(std::make_tuple(po.First, po.Last, po.FirstSet, po.SetCount, po.Closed),
        std::make_tuple(15, 22, 2, 2, true));
    EXPECT_EQ(QByteArrayList({ text(po.Function), text(po.Sender), text(po.Receiver),
                  text(po.Control), text(po.Version) }),
        QByteArrayList({ "PO", "SENDERID", "RECEIVERID", "8", "005010" }));

    const SetRecord &order = outline_.Set(2);
    EXPECT_EQ(std::make_tuple(order.First, order.Last, order.SegmentCount(), order.Closed),
        std::make_tuple(16, 19, 4, true));
    EXPECT_EQ(QByteArrayList({ text(order.Type), text(order.Control), text(order.Convention) }),
        QByteArrayList({ "850", "0001", "005010X220A1" }));
    EXPECT_EQ(outline_.GroupOfSet(3), 2);
    EXPECT_EQ(outline_.InterchangeOfGroup(2), 1);
    EXPECT_EQ(outline_.InterchangeOfGroup(0), 0);
}

TEST_F(EnvelopeCheckerTest, StraySetsAndGroupsGetImplicitEnvelopes)
{
    Run(Sound() + QByteArrayList { "ST*997*0009", "SE*2*0009", Gs8, "GE*0*8" });
    EXPECT_EQ(problems_.Count(), 2);
    ASSERT_EQ(outline_.InterchangeCount(), 2);
    ASSERT_EQ(outline_.GroupCount(), 3);
    // One interchange holds what stands after the IEA: an implicit group, then a real one.
    const InterchangeRecord &implicit = outline_.Interchange(1);
    EXPECT_TRUE(implicit.Implicit);
    EXPECT_EQ(std::make_tuple(implicit.First, implicit.Last, implicit.GroupCount, implicit.Closed),
        std::make_tuple(8, 11, 2, false));
    const GroupRecord &stray = outline_.Group(1);
    EXPECT_EQ(std::make_tuple(stray.Implicit, stray.First, stray.Last, stray.SetCount),
        std::make_tuple(true, 8, 9, 1));
    EXPECT_EQ(std::make_tuple(outline_.Group(2).Implicit, outline_.Group(2).First),
        std::make_tuple(false, 10));
    EXPECT_EQ(outline_.InterchangeOfGroup(2), 1);
}

TEST_F(EnvelopeCheckerTest, SnapshotsEndAtTheLastSegmentAndStayAsTaken)
{
    const QString path = dir_.filePath(QStringLiteral("snap.x12"));
    WriteBytes(path, (Sound() + Sound()).join("~") + "~");
    TGFile reader(path);
    EnvelopeChecker checker;
    EnvelopeOutline atFour;
    EnvelopeProblems problemsAtFour;
    reader.SetScanObserver(
        [&](qint64 n, const IndexRecord &r, QByteArrayView head, const Delimiters &d) {
            checker.Segment(n, r, head, d);
            if (n == 4) {
                atFour = checker.Outline();
                problemsAtFour = checker.Problems();
            }
        });
    reader.SegmentCount();
    checker.Finish();

    ASSERT_EQ(atFour.SetCount(), 1);
    EXPECT_EQ(atFour.LastSegment(), 4);
    EXPECT_EQ(std::make_tuple(atFour.Set(0).Last, atFour.Set(0).Closed), std::make_tuple(4, false));
    EXPECT_EQ(atFour.Group(0).Last, 4);
    EXPECT_EQ(atFour.Interchange(0).Last, 4);
    EXPECT_EQ(atFour.PositionText(4), QStringLiteral("ST 0001, segment 2"));
    EXPECT_EQ(problemsAtFour.Count(), 0);

    // The second interchange repeats the first's control number: not a problem the check has.
    const EnvelopeOutline outline = checker.Outline();
    EXPECT_EQ(outline.SetCount(), 2);
    EXPECT_EQ(
        std::make_tuple(outline.Set(0).Last, outline.Set(0).Closed), std::make_tuple(5, true));
    EXPECT_EQ(atFour.Set(0).Last, 4);
}

TEST_F(EnvelopeCheckerTest, ManySetsKeepTheirRecordsAcrossBlocksAndSnapshots)
{
    // More sets than one block holds, with a snapshot taken at a block's edge.
    QByteArrayList segments { Isa(), Gs7 };
    const qint64 sets = RecordBlocks<SetRecord>::BlockRecords + 3;
    for (qint64 i = 1; i <= sets; ++i) {
        const QByteArray control = QByteArray::number(i).rightJustified(4, '0');
        segments += { "ST*810*" + control, "SE*2*" + control };
    }
    segments += { "GE*" + QByteArray::number(sets) + "*7", "IEA*1*000000007" };
    const QString path = dir_.filePath(QStringLiteral("many.x12"));
    WriteBytes(path, segments.join("~") + "~");
    TGFile reader(path);
    EnvelopeChecker checker;
    EnvelopeOutline atEdge;
    const qint64 edge = 2 + 2 * RecordBlocks<SetRecord>::BlockRecords - 1; // the last ST of a block
    reader.SetScanObserver(
        [&](qint64 n, const IndexRecord &r, QByteArrayView head, const Delimiters &d) {
            checker.Segment(n, r, head, d);
            if (n == edge)
                atEdge = checker.Outline();
        });
    reader.SegmentCount();
    checker.Finish();
    EXPECT_TRUE(checker.Problems().IsEmpty());
    const EnvelopeOutline outline = checker.TakeOutline();
    ASSERT_EQ(outline.SetCount(), sets);
    EXPECT_EQ(atEdge.SetCount(), RecordBlocks<SetRecord>::BlockRecords);
    EXPECT_FALSE(atEdge.Set(atEdge.SetCount() - 1).Closed);
    EXPECT_TRUE(outline.Set(atEdge.SetCount() - 1).Closed);
    for (qint64 i : { qint64(0), sets / 2, sets - 1 }) {
        EXPECT_EQ(outline.Set(i).First, 3 + 2 * i);
        EXPECT_EQ(
            outline.Text(outline.Set(i).Control), QByteArray::number(i + 1).rightJustified(4, '0'));
    }
}

} // namespace
