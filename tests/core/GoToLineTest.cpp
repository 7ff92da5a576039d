#include "GoToLine.h"

#include <gtest/gtest.h>

namespace {

TEST(GoToLineTest, GoToTakesPositiveNumbersOnly)
{
    const struct
    {
        const char *text;
        std::optional<qint32> line;
    } cases[] = {
        { "1", 1 },
        { "  12", 12 },
        { "+3", 3 },
        { "$10", 16 },
        { "0x1F", 31 },
        { "2147483647", 2147483647 },
        { "0", std::nullopt },
        { "-4", std::nullopt },
        { "$FFFFFFFF", std::nullopt }, // -1
        { "", std::nullopt },
        { "12 ", std::nullopt },
        { "2147483648", std::nullopt },
        { "ten", std::nullopt },
    };
    for (const auto &c : cases)
        EXPECT_EQ(GoToLine::LineNumber(QString::fromLatin1(c.text)), c.line) << c.text;
}

TEST(GoToLineTest, SegmentTypeIsTrimmedAndUpperCased)
{
    const struct
    {
        QString typed;
        QString searched;
    } cases[] = {
        { QStringLiteral("st"), QStringLiteral("ST") },
        { QStringLiteral("  n1\t"), QStringLiteral("N1") },
        { QStringLiteral("\x01Ref\x7F\r\n"), QStringLiteral("REF") },
        { QStringLiteral("s t"), QStringLiteral("S T") }, // inner blanks stay
        { QStringLiteral("\u00e4b\u00e9"), QStringLiteral("\u00e4B\u00e9") }, // only a to z
        { QStringLiteral(" \t "), QString() },
    };
    for (const auto &c : cases)
        EXPECT_EQ(GoToLine::CleanSegmentType(c.typed), c.searched) << qPrintable(c.typed);
}

} // namespace
