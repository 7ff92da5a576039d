#include "IntegerText.h"

#include <gtest/gtest.h>

#include <QString>

namespace {

TEST(IntegerTextTest, ReadsDecimalAndHexadecimal)
{
    const struct
    {
        const char *text;
        std::optional<qint32> value;
    } cases[] = {
        { "1", 1 },
        { "  42", 42 },
        { "+7", 7 },
        { "-120", -120 },
        { "007", 7 },
        { "$1F", 31 },
        { "x1f", 31 },
        { "X10", 16 },
        { "0x10", 16 },
        { "0X7fffffff", 2147483647 },
        { "-$10", -16 },
        { "$FFFFFFFF", -1 },
        { "2147483647", 2147483647 },
        { "-2147483648", qint32(-2147483647 - 1) },
        { "0", 0 },
        { "", std::nullopt },
        { " ", std::nullopt },
        { "-", std::nullopt },
        { "$", std::nullopt },
        { "0x", std::nullopt },
        { "12 ", std::nullopt },
        { "\t12", std::nullopt },
        { "12abc", std::nullopt },
        { "1.5", std::nullopt },
        { "2147483648", std::nullopt },
        { "-2147483649", std::nullopt },
        { "$100000000", std::nullopt },
        { "--1", std::nullopt },
        { "$G", std::nullopt },
    };
    for (const auto &c : cases)
        EXPECT_EQ(ToInt32(QString::fromLatin1(c.text)), c.value) << c.text;
}

} // namespace
