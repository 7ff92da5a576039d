#include "SegmentTypeSearch.h"

#include "GFileIO.h"
#include "GoToLine.h"
#include "TestEnvironment.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

using Outcome = SegmentSearchResult::Outcome;

// Segments 1 to 11; line i of the view holds segment i + 1.
const QByteArray Interchange = X12Builder::Isa() + "\r\n"
    + "GS*PO*SENDER*RECEIVER*20240102*0930*7*X*004010~\r\n" // 2
      "ST*850*0001~\r\n" // 3
      "BEG*00*SA*PO1**20240102~\r\n" // 4
      "N1*ST*ACME~\r\n" // 5
      "SE*4*0001~\r\n" // 6
      "ST*850*0002~\r\n" // 7
      "N1*BT*ACME~\r\n" // 8
      "SE*3*0002~\r\n" // 9
      "GE*2*7~\r\n" // 10
      "IEA*1*000000007~\r\n"; // 11

class SegmentTypeSearchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        path_ = dir_.filePath(QStringLiteral("po.x12"));
        WriteBytes(path_, Interchange);
    }

    QTemporaryDir dir_;
    QString path_;
};

TEST_F(SegmentTypeSearchTest, NthOfTypeCountsFromTheFirstSegment)
{
    const struct
    {
        QString type;
        qint64 n;
        qint64 segment; // 0: not found
    } cases[] = {
        { QStringLiteral("ISA"), 1, 1 }, { GoToLine::CleanSegmentType(u"st"), 2, 7 },
        { QStringLiteral("N1"), 2, 8 },
        { QStringLiteral("IEA"), 1, 11 }, // the last segment is compared too
        { QStringLiteral("S"), 1, 0 }, // ids compare whole, not as prefixes
        { QStringLiteral("st"), 1, 0 }, { QStringLiteral("ST"), 3, 0 },
        { QStringLiteral("ST\u0100"), 1, 0 }, // beyond Latin-1
    };
    for (const auto &c : cases) {
        TGFile reader(path_);
        reader.SegmentCount();
        reader.GotoSegment(9); // the caret plays no part
        const SegmentSearchResult result = SegmentTypeSearch::FindNthOfType(reader, c.type, c.n);
        const qint64 stoppedAt = c.segment ? c.segment : 11;
        EXPECT_EQ(result.Result, c.segment ? Outcome::Found : Outcome::NotFound)
            << qPrintable(c.type) << " " << c.n;
        EXPECT_EQ(result.Segment, c.segment);
        EXPECT_EQ(reader.CurrentSegment(), stoppedAt);
    }
}

TEST_F(SegmentTypeSearchTest, NextAndPreviousOfTheCaretsType)
{
    using SegmentTypeSearch::FindNextOfType;
    using SegmentTypeSearch::FindPreviousOfType;
    const struct
    {
        const char *name;
        SegmentSearchResult (*search)(TGFile &, qint64);
        qint64 caretLine;
        Outcome outcome;
        qint64 segment;
        qint64 stoppedAt; // the reader's segment afterwards
    } cases[] = {
        { "next ST", FindNextOfType, 2, Outcome::Found, 7, 7 },
        { "next N1", FindNextOfType, 4, Outcome::Found, 8, 8 },
        { "next with no later one", FindNextOfType, 6, Outcome::NotFound, 0, 11 },
        { "next on the last segment", FindNextOfType, 10, Outcome::Found, 11, 11 },
        { "next on the empty last line", FindNextOfType, 11, Outcome::Found, 11, 11 },
        { "previous on line 0", FindPreviousOfType, 0, Outcome::NotSearched, 0, 1 },
        { "previous ST", FindPreviousOfType, 6, Outcome::Found, 3, 3 },
        { "previous on the first ST", FindPreviousOfType, 2, Outcome::NotFound, 0, 1 },
        { "previous on the empty last line", FindPreviousOfType, 11, Outcome::NotFound, 0, 1 },
    };
    for (const auto &c : cases) {
        TGFile reader(path_);
        reader.SegmentCount();
        const SegmentSearchResult result = c.search(reader, c.caretLine);
        EXPECT_EQ(result.Result, c.outcome) << c.name;
        EXPECT_EQ(result.Segment, c.segment) << c.name;
        EXPECT_EQ(reader.CurrentSegment(), c.stoppedAt) << c.name;
    }
}

TEST_F(SegmentTypeSearchTest, SegmentIdIsTheTextBeforeTheFirstSeparator)
{
    EXPECT_EQ(SegmentTypeSearch::SegmentId("N1*ST*ACME", '*'), "N1");
    EXPECT_EQ(SegmentTypeSearch::SegmentId("N1|ST", '*'), "N1|ST");
    EXPECT_EQ(SegmentTypeSearch::SegmentId("*ST", '*'), "");
}

} // namespace
