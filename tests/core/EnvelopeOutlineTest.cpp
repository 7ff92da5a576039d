#include "EnvelopeOutline.h"

#include "EnvelopeFixture.h"
#include "TextPrinters.h"

#include <gtest/gtest.h>

namespace {

using EnvelopeFixture::OutlineOf;

// Two groups whose sets repeat ST02 0003; segments 1 to 19.
EnvelopeOutline TwoGroups()
{
    return OutlineOf({ EnvelopeFixture::Isa(), "GS*IN*A*B*20240102*0930*1*X*004010", "ST*810*0003",
        "BIG*1", "N1*ST*X", "SE*4*0003", "ST*810*0004", "SE*2*0004", "GE*2*1",
        "GS*IN*A*B*20240102*0930*2*X*004010", "ST*810*0001", "SE*2*0001", "ST*810*003", "BIG*2",
        "N1*ST*Y", "N3*MAIN", "SE*5*003", "GE*2*2", "IEA*2*000000007" });
}

TEST(EnvelopeOutlineTest, SegmentsAreFoundInTheirEnvelopes)
{
    const EnvelopeOutline outline = TwoGroups();
    const struct
    {
        qint64 segment;
        std::optional<qint64> set, group, interchange;
        QString position;
    } cases[] = {
        { 1, {}, {}, 0, {} },
        { 2, {}, 0, 0, {} },
        { 3, 0, 0, 0, "ST 0003, segment 1" },
        { 6, 0, 0, 0, "ST 0003, segment 4" },
        { 9, {}, 0, 0, {} },
        { 14, 3, 1, 0, "ST 003, segment 2" },
        { 19, {}, {}, 0, {} },
        { 20, {}, {}, {}, {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.segment);
        EXPECT_EQ(outline.SetHolding(c.segment), c.set);
        EXPECT_EQ(outline.GroupHolding(c.segment), c.group);
        EXPECT_EQ(outline.InterchangeHolding(c.segment), c.interchange);
        EXPECT_EQ(outline.PositionText(c.segment), c.position);
    }
}

TEST(EnvelopeOutlineTest, GoToBySt02AndPositionStepsThroughRepeatedSt02)
{
    const EnvelopeOutline outline = TwoGroups();
    using Outcome = SetPositionTarget::Outcome;
    const struct
    {
        QByteArray control;
        qint64 position, after;
        Outcome outcome;
        qint64 segment, set, matches;
    } cases[] = {
        // "3" matches 0003 and 003: the first set after the caret, then round to the first.
        { "3", 2, 0, Outcome::Found, 4, 0, 2 },
        { "0003", 2, 4, Outcome::Found, 14, 3, 2 },
        { "0003", 1, 14, Outcome::Found, 3, 0, 2 },
        { "0003", 5, 14, Outcome::BeyondSet, 0, 0, 2 },
        { "0003", 0, 0, Outcome::BeyondSet, 0, 0, 2 },
        { " 4 ", 2, 0, Outcome::Found, 8, 1, 1 },
        { "0009", 1, 0, Outcome::NoSuchSet, 0, -1, 0 },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.control.toStdString() + " after " + std::to_string(c.after));
        const SetPositionTarget t = outline.FindSetPosition(c.control, c.position, c.after);
        EXPECT_EQ(t.Result, c.outcome);
        EXPECT_EQ(std::make_tuple(t.Segment, t.Set, t.Matches),
            std::make_tuple(c.segment, c.set, c.matches));
    }
}

} // namespace
