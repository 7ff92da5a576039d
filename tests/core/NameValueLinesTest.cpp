#include "NameValueLines.h"

#include <gtest/gtest.h>

namespace {

TEST(NameValueLinesTest, SplitsLinesAtCrLfLfOrCr)
{
    const struct
    {
        const char *text;
        QStringList lines;
    } cases[] = {
        { "", {} },
        { "a", { "a" } },
        { "a\r\nb\nc\rd", { "a", "b", "c", "d" } },
        { "a\r\n", { "a" } },
        { "a\n\nb", { "a", "", "b" } },
        { "a\r\r\nb", { "a", "", "b" } },
        { "\n", { "" } },
        { "\r\n", { "" } },
        { "a\n\r", { "a", "" } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(NameValueLines::Split(QString::fromLatin1(c.text)), c.lines) << c.text;
}

} // namespace
