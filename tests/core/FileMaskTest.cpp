#include "FileMask.h"

#include <gtest/gtest.h>

namespace {

TEST(FileMaskTest, MaskMatches)
{
    const struct
    {
        QString name;
        QString mask;
        bool matches;
    } cases[] = {
        { "any.thing", "", true },
        { "any.thing", "*", true },
        { "nodot", "*.*", true },
        { "ABC", "*.", true }, // names without a dot are compared as "ABC."
        { "ABC.X12", "*.", false },
        { "A.B", "*.", false },
        { "ABC", "ABC", false },
        { "ABC", "ABC.", true },
        { "ABC", "ABC*", true },
        { "ABB.X", "*?B.X", false }, // one resume point, no full backtracking
        { "ABB.X", "*B.X", true },
        { "aaab.x", "*ab.x", true },
        { "file.x12", "*.X12", true },
        { "FILE.X12", "*.x12", true },
        { "a.x12", "?.x12", true },
        { "ab.x12", "?.x12", false },
        { ".x12", "?.x12", false },
        { "report.x12.bak", "*.x12", false },
        { "a.b.c", "*.c", true },
        { "b.edi", " *.edi", false },
        { QStringLiteral("\u00e9t\u00e9.x12"), QStringLiteral("\u00c9T\u00c9.X12"), true },
        { QStringLiteral("stra\u00dfe.x12"), QStringLiteral("STRA*"), true },
    };
    for (const auto &c : cases) {
        EXPECT_EQ(FileMask::MaskMatches(c.name, c.mask), c.matches)
            << qPrintable(c.name) << " ~ " << qPrintable(c.mask);
        EXPECT_EQ(FileMaskList({ c.mask }).Matches(c.name), c.matches)
            << qPrintable(c.name) << " ~ " << qPrintable(c.mask);
    }
}

TEST(FileMaskTest, SplitMasks)
{
    const struct
    {
        const char *spec;
        QStringList masks;
    } cases[] = {
        { "", {} },
        { "*.x12", { "*.x12" } },
        { "a;", { "a" } },
        { "a;;b", { "a", "", "b" } },
        { ";", { "" } },
        { "*.x12; *.edi", { "*.x12", " *.edi" } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileMask::SplitMasks(QString::fromLatin1(c.spec)), c.masks) << c.spec;
}

TEST(FileMaskTest, MaskListMatchesWhenAnyMaskDoes)
{
    const FileMaskList masks({ "*.x12", "*.EDI" });
    EXPECT_TRUE(masks.Matches("a.X12"));
    EXPECT_TRUE(masks.Matches("b.edi"));
    EXPECT_FALSE(masks.Matches("c.txt"));
    EXPECT_FALSE(FileMaskList({}).Matches("c.txt"));
    EXPECT_TRUE(FileMaskList({ "*.x12", "" }).Matches("c.txt"));
}

} // namespace
