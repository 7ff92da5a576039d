#include "SegmentExplanation.h"

#include "CodeDictionary.h"
#include "ElementDictionary.h"
#include "ElementReference.h"
#include "TextPrinters.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

namespace {

// Delimiters of a 5010 interchange: "^" repeats elements.
constexpr Delimiters Repeating { '*', ':', '^', '~' };

class SegmentExplanationTest : public testing::Test
{
protected:
    SegmentExplanationTest()
    {
        names_.SetLines({ "N100=Party Identification", "N101=Entity Identifier Code", "N102=Name",
            "SV101=Composite Medical Procedure Identifier", "SV101-2=Procedure Code",
            "SV102=Line Item Charge Amount", "EB03=Service Type Code",
            "HI01=Health Care Code Information", "HI01-1=Code List Qualifier Code",
            "ISA11=Repetition Separator", "ISA16=Component Element Separator" });
        codes_.Load(u"[N101]\nST=Ship To\n[SV101-1]\nHC=Procedure code\n[EB03]\n30=Health "
                    "benefit plan coverage\n[HI01-1]\nABK=Principal diagnosis\n[ISA14]\n0=No "
                    "acknowledgment\n[ISA16, ISA11]\n:=Not a code\n^=Not a code\n",
            QStringLiteral("Codes.ini"));
    }

    // Each row as "REFERENCE|NAME|VALUE|MEANING".
    QStringList Rows(const QByteArray &segment, const Delimiters &delimiters = Repeating,
        qsizetype valueLimit = -1) const
    {
        QStringList rows;
        const SegmentExplanation explanation(segment, delimiters, names_, codes_, valueLimit);
        for (const ElementRow &row : explanation.Rows())
            rows.append(row.Reference + u'|' + row.Name + u'|' + row.Value + u'|' + row.Meaning);
        return rows;
    }

    ElementDictionary names_;
    CodeDictionary codes_;
};

TEST_F(SegmentExplanationTest, RowsOfATableOfSegments)
{
    const struct
    {
        const char *what;
        QByteArray segment;
        QStringList rows;
    } cases[] = {
        { "elements, a code with a meaning and a value without one", "N1*ST*ACME*XX",
            { "N100|Party Identification|N1|", "N101|Entity Identifier Code|ST|Ship To",
                "N102|Name|ACME|", "N103||XX|" } },
        { "a code the dictionary does not know for its element", "N1*XX",
            { "N100|Party Identification|N1|", "N101|Entity Identifier Code|XX|" } },
        { "empty elements, at the end too", "N1**ACME**",
            { "N100|Party Identification|N1|", "N101|Entity Identifier Code||", "N102|Name|ACME|",
                "N103|||", "N104|||" } },
        // A component without a name of its own takes its composite's.
        { "a composite", "SV1*HC:99213:25*50",
            { "SV100||SV1|", "SV101-1|Composite Medical Procedure Identifier|HC|Procedure code",
                "SV101-2|Procedure Code|99213|",
                "SV101-3|Composite Medical Procedure Identifier|25|",
                "SV102|Line Item Charge Amount|50|" } },
        { "a composite with an empty component", "SV1*HC::25",
            { "SV100||SV1|", "SV101-1|Composite Medical Procedure Identifier|HC|Procedure code",
                "SV101-2|Procedure Code||",
                "SV101-3|Composite Medical Procedure Identifier|25|" } },
        { "a repeated element", "EB*1**30^^48",
            { "EB00||EB|", "EB01||1|", "EB02|||",
                "EB03-1|Service Type Code|30|Health benefit plan coverage",
                "EB03-2|Service Type Code||", "EB03-3|Service Type Code|48|" } },
        { "a repeated composite: the repetition, then the component", "HI*ABK:J209^ABF:R05",
            { "HI00||HI|", "HI01-1-1|Code List Qualifier Code|ABK|Principal diagnosis",
                "HI01-1-2|Health Care Code Information|J209|",
                "HI01-2-1|Code List Qualifier Code|ABF|",
                "HI01-2-2|Health Care Code Information|R05|" } },
        { "a repetition without components in a composite", "HI*ABK:J209^ABF",
            { "HI00||HI|", "HI01-1-1|Code List Qualifier Code|ABK|Principal diagnosis",
                "HI01-1-2|Health Care Code Information|J209|",
                "HI01-2-1|Code List Qualifier Code|ABF|" } },
        { "an unknown segment id", "ZZZ*A:B*C^D",
            { "ZZZ00||ZZZ|", "ZZZ01-1||A|", "ZZZ01-2||B|", "ZZZ02-1||C|", "ZZZ02-2||D|" } },
        { "a segment id alone", "LX", { "LX00||LX|" } },
        { "an empty segment", "", {} },
    };
    for (const auto &c : cases)
        EXPECT_EQ(Rows(c.segment), c.rows) << c.what;
}

// The ISA holds the delimiters as values: ISA11 the repetition separator, ISA16 the component
// separator.
TEST_F(SegmentExplanationTest, TheIsaIsNeverSplitBeyondItsElements)
{
    QByteArray isa = X12Builder::Isa('*', ':', '~').chopped(1);
    isa[82] = '^';
    const QStringList rows = Rows(isa);
    ASSERT_EQ(rows.size(), 17) << qPrintable(rows.join(u'\n'));
    EXPECT_EQ(rows[0], QLatin1String("ISA00||ISA|"));
    EXPECT_EQ(rows[6], QLatin1String("ISA06||SENDERID       |"));
    EXPECT_EQ(rows[11], QLatin1String("ISA11|Repetition Separator|^|Not a code"));
    EXPECT_EQ(rows[14], QLatin1String("ISA14||0|No acknowledgment"));
    EXPECT_EQ(rows[16], QLatin1String("ISA16|Component Element Separator|:|Not a code"));

    // Nor a segment whose separators cannot be told apart from the element separator's.
    EXPECT_EQ(Rows("N1*ST:X^Y", { '*', '*', '*', '~' }),
        QStringList({ "N100|Party Identification|N1|", "N101|Entity Identifier Code|ST:X^Y|" }));
    EXPECT_EQ(Rows("EB*A:B", { '*', ':', ':', '~' }),
        QStringList({ "EB00||EB|", "EB01-1||A|", "EB01-2||B|" }));
    EXPECT_EQ(Rows("EB*30^35", { '*', ':', 0, '~' }), QStringList({ "EB00||EB|", "EB01||30^35|" }));
}

// The row at a column is the one the status bar names there.
TEST_F(SegmentExplanationTest, RowAtAgreesWithThePositionIndicator)
{
    for (const QByteArray &segment : { QByteArray("SV1*HC:99213:25*50"), QByteArray("N1**ACME**"),
             QByteArray("HI*ABK:J209^ABF:R05*BK:1"), QByteArray("LX") }) {
        const SegmentExplanation explanation(segment, Repeating, names_, codes_);
        for (qsizetype column = 0; column <= segment.size(); ++column) {
            const qsizetype row = explanation.RowAt(column);
            ASSERT_GE(row, 0) << segment.constData() << " at " << column;
            const QString key = ElementReference(segment, column, '*').Key();
            EXPECT_EQ(explanation.Rows()[row].Reference.section(u'-', 0, 0), key)
                << segment.constData() << " at " << column;
        }
        EXPECT_EQ(explanation.RowAt(segment.size() + 1), -1);
    }

    // Within a composite, a column directly after a component separator lies in what follows.
    const SegmentExplanation composite("SV1*HC:99213", Repeating, names_, codes_);
    const struct
    {
        qsizetype column;
        const char *reference;
    } cases[] = { { 3, "SV100" }, { 4, "SV101-1" }, { 6, "SV101-1" }, { 7, "SV101-2" },
        { 12, "SV101-2" } };
    for (const auto &c : cases)
        EXPECT_EQ(composite.Rows()[composite.RowAt(c.column)].Reference, QLatin1String(c.reference))
            << c.column;
    EXPECT_EQ(composite.Rows()[2].Start, 7);
    EXPECT_EQ(composite.Rows()[2].Length, 5);
}

// A segment that runs on (a file with a wrong terminator, data in one huge element) costs only
// the rows and the value characters that are kept.
TEST_F(SegmentExplanationTest, HugeSegmentsAreCut)
{
    QByteArray many = "REF";
    for (int i = 0; i < 3 * SegmentExplanation::RowLimit; ++i)
        many += "*1";
    const SegmentExplanation cut(many, Repeating, names_, codes_);
    EXPECT_TRUE(cut.Truncated());
    ASSERT_EQ(cut.Rows().size(), SegmentExplanation::RowLimit);
    EXPECT_EQ(
        cut.Rows().last().Reference, QStringLiteral("REF%1").arg(SegmentExplanation::RowLimit - 1));
    EXPECT_EQ(cut.RowAt(many.size()), -1);
    EXPECT_FALSE(SegmentExplanation("N1*ST", Repeating, names_, codes_).Truncated());

    const QByteArray value(100000, 'x');
    const QByteArray segment = "N1*" + value + "*ST";
    const SegmentExplanation longValue(segment, Repeating, names_, codes_, 10);
    ASSERT_EQ(longValue.Rows().size(), 3);
    EXPECT_EQ(longValue.Rows()[1].Value, QString::fromUtf8("xxxxxxxxxx\xE2\x80\xA6"));
    EXPECT_EQ(longValue.Rows()[1].Length, value.size());
    EXPECT_EQ(longValue.Rows()[2].Start, 3 + value.size() + 1);
    EXPECT_EQ(longValue.Rows()[2].Value, QLatin1String("ST"));
}

} // namespace
