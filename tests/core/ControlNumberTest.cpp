#include "ControlNumber.h"
#include "ControlNumberSet.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <vector>

namespace {

TEST(ControlNumberTest, DigitsCompareAsNumbersAndTextWithoutItsSpaces)
{
    const struct
    {
        const char *a, *b;
        bool same;
    } cases[] = {
        { "3438", "000003438", true },
        { " 7 ", "0007", true },
        { "0", "000", true },
        { "A1 ", " A1", true },
        { "a1", "A1", false },
        { "1 2", "12", false },
        { "", "  ", true },
        { "", "0", false },
        { "0000000000000000000012345678901234567890", "12345678901234567890", true },
    };
    for (const auto &c : cases)
        EXPECT_EQ(ControlNumber::Same(c.a, c.b), c.same) << c.a << " / " << c.b;

    EXPECT_TRUE(ControlNumber::CountIs(" 012", 12));
    EXPECT_TRUE(ControlNumber::CountIs("0", 0));
    for (const char *text : { "", "12a", "-12", "+12", "1 2", "12.0", "13" })
        EXPECT_FALSE(ControlNumber::CountIs(text, 12)) << text;
}

TEST(ControlNumberTest, SetTellsRepeatsWhateverTheOrder)
{
    // Runs that grow at both ends, join, and numbers too long for one word.
    const std::vector<QByteArray> values = { "5", "7", "6", "0004", "8", "1", "3", "2", "A1", "a1",
        "99999999999999999999", "099999999999999999999" };
    ControlNumberSet set;
    std::vector<QByteArray> seen;
    for (const QByteArray &v : values) {
        bool before = false;
        for (const QByteArray &s : seen)
            before = before || ControlNumber::Same(s, v);
        EXPECT_EQ(set.Insert(v), !before) << v.constData();
        seen.push_back(v);
    }
    for (const char *again : { "1", "004", "8", " 5", "A1" })
        EXPECT_FALSE(set.Insert(again)) << again;
    EXPECT_TRUE(set.Insert("9"));
    EXPECT_TRUE(set.Insert("0"));
    set.Clear();
    EXPECT_TRUE(set.Insert("5"));
}

} // namespace
