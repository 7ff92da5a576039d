#include "HistoryList.h"

#include "CasePrinter.h"

#include <gtest/gtest.h>

namespace {

using CasePrinter::PrintTo;

struct MoveCase
{
    const char *name;
    QStringList before;
    QString text;
    Qt::CaseSensitivity cs;
    QStringList after;
    int index;
};

class MoveToFrontTest : public testing::TestWithParam<MoveCase>
{
};

TEST_P(MoveToFrontTest, ReordersTheList)
{
    const MoveCase &c = GetParam();
    QStringList list = c.before;
    EXPECT_EQ(HistoryList::MoveToFront(list, c.text, c.cs), c.index);
    EXPECT_EQ(list, c.after);
}

const QStringList Abc = { QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c") };

INSTANTIATE_TEST_SUITE_P(Cases, MoveToFrontTest,
    testing::Values(MoveCase { "NewGoesFirst", Abc, QStringLiteral("/d"), Qt::CaseSensitive,
                        { QStringLiteral("/d"), QStringLiteral("/a"), QStringLiteral("/b"),
                            QStringLiteral("/c") },
                        -1 },
        MoveCase { "ThirdMovesUpOthersKeepOrder", Abc, QStringLiteral("/c"), Qt::CaseSensitive,
            { QStringLiteral("/c"), QStringLiteral("/a"), QStringLiteral("/b") }, 2 },
        MoveCase {
            "FirstStaysInItsOldCase", Abc, QStringLiteral("/A"), Qt::CaseInsensitive, Abc, 0 },
        MoveCase { "LaterTakesTheNewCase", Abc, QStringLiteral("/B"), Qt::CaseInsensitive,
            { QStringLiteral("/B"), QStringLiteral("/a"), QStringLiteral("/c") }, 1 },
        MoveCase { "OtherCaseIsAnotherPathWhenCaseCounts", Abc, QStringLiteral("/B"),
            Qt::CaseSensitive,
            { QStringLiteral("/B"), QStringLiteral("/a"), QStringLiteral("/b"),
                QStringLiteral("/c") },
            -1 },
        MoveCase { "EmptyList", {}, QStringLiteral("/a"), Qt::CaseSensitive,
            { QStringLiteral("/a") }, -1 }),
    [](const testing::TestParamInfo<MoveCase> &info) { return info.param.name; });

TEST(HistoryListTest, PathsCompareAsTheFileSystemDoes)
{
#if defined(Q_OS_LINUX)
    EXPECT_EQ(HistoryList::FilePathCase(), Qt::CaseSensitive);
#else
    EXPECT_EQ(HistoryList::FilePathCase(), Qt::CaseInsensitive);
#endif
}

} // namespace
