#include "ErrorText.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorTextTest, PeriodAddedUnlessLastCharacterSortsAtOrBeforeIt)
{
    const std::pair<QString, QString> cases[] = {
        { QStringLiteral("Invalid X12 file"), QStringLiteral("Invalid X12 file.") },
        { QStringLiteral("I/O error 5"), QStringLiteral("I/O error 5.") },
        { QStringLiteral("Not a valid X12 file."), QStringLiteral("Not a valid X12 file.") },
        { QStringLiteral("Stop!"), QStringLiteral("Stop!") },
        { QStringLiteral("a, b,"), QStringLiteral("a, b,") },
        { QStringLiteral("trailing blank "), QStringLiteral("trailing blank ") },
        { QStringLiteral("dash -"), QStringLiteral("dash -") },
        { QStringLiteral("(aside)"), QStringLiteral("(aside)") },
        { QStringLiteral("/"), QStringLiteral("/.") }, // "/" sorts just after the period
        { QStringLiteral("caf\u00E9"), QStringLiteral("caf\u00E9.") },
        { QString(), QString() },
    };
    for (const auto &[message, text] : cases)
        EXPECT_EQ(ErrorText(message), text) << qPrintable(message);
}

} // namespace
