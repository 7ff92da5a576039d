#include "SegmentTypeSearch.h"

#include "GoToLine.h"
#include "MemoryLineSource.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

namespace {

using Outcome = SegmentSearchResult::Outcome;

// Segments 1 to 11; line i holds segment i + 1.
MemoryLineSource Interchange()
{
    return MemoryLineSource({ X12Builder::Isa().left(105),
        "GS*PO*SENDER*RECEIVER*20240102*0930*7*X*004010", // 2
        "ST*850*0001", // 3
        "BEG*00*SA*PO1**20240102", // 4
        "N1*ST*ACME", // 5
        "SE*4*0001", // 6
        "ST*850*0002", // 7
        "N1*BT*ACME", // 8
        "SE*3*0002", // 9
        "GE*2*7", // 10
        "IEA*1*000000007" }); // 11
}

TEST(SegmentTypeSearchTest, NthOfTypeCountsFromTheFirstSegment)
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
    MemoryLineSource lines = Interchange();
    for (const auto &c : cases) {
        const SegmentSearchResult result = SegmentTypeSearch::FindNthOfType(lines, c.type, c.n);
        EXPECT_EQ(result.Result, c.segment ? Outcome::Found : Outcome::NotFound)
            << qPrintable(c.type) << " " << c.n;
        if (c.segment) {
            EXPECT_EQ(result.Segment, SegmentNumber(c.segment)) << qPrintable(c.type);
        }
    }
}

TEST(SegmentTypeSearchTest, NextAndPreviousOfTheCaretsType)
{
    using SegmentTypeSearch::FindNextOfType;
    using SegmentTypeSearch::FindPreviousOfType;
    const struct
    {
        const char *name;
        SegmentSearchResult (*search)(LineSource &, LineNumber);
        qint64 caretLine;
        Outcome outcome;
        qint64 segment;
    } cases[] = {
        { "next ST", FindNextOfType, 2, Outcome::Found, 7 },
        { "next N1", FindNextOfType, 4, Outcome::Found, 8 },
        { "next with no later one", FindNextOfType, 6, Outcome::NotFound, 0 },
        { "next on the last segment", FindNextOfType, 10, Outcome::Found, 11 },
        { "next on the empty last line", FindNextOfType, 11, Outcome::Found, 11 },
        { "previous on line 0", FindPreviousOfType, 0, Outcome::NotSearched, 0 },
        { "previous ST", FindPreviousOfType, 6, Outcome::Found, 3 },
        { "previous on the first ST", FindPreviousOfType, 2, Outcome::NotFound, 0 },
        { "previous on the empty last line", FindPreviousOfType, 11, Outcome::NotFound, 0 },
    };
    MemoryLineSource lines = Interchange();
    for (const auto &c : cases) {
        const SegmentSearchResult result = c.search(lines, LineNumber(c.caretLine));
        EXPECT_EQ(result.Result, c.outcome) << c.name;
        if (c.segment) {
            EXPECT_EQ(result.Segment, SegmentNumber(c.segment)) << c.name;
        }
    }
}

// Each interchange's own element separator tells its ids.
TEST(SegmentTypeSearchTest, IdsFollowEachLinesDelimiters)
{
    MemoryLineSource lines({ "N1|ST", "N1*ST" }, true, Delimiters { '|', '^', 0, '!' });
    EXPECT_EQ(SegmentTypeSearch::FindNthOfType(lines, u"N1", 1).Segment, SegmentNumber(1));
    EXPECT_FALSE(SegmentTypeSearch::FindNthOfType(lines, u"N1", 2).Found());
}

TEST(SegmentTypeSearchTest, SegmentIdIsTheTextBeforeTheFirstSeparator)
{
    EXPECT_EQ(SegmentTypeSearch::SegmentId("N1*ST*ACME", '*'), "N1");
    EXPECT_EQ(SegmentTypeSearch::SegmentId("N1|ST", '*'), "N1|ST");
    EXPECT_EQ(SegmentTypeSearch::SegmentId("*ST", '*'), "");
}

} // namespace
