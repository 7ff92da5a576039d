#include "SearchHistory.h"

#include <gtest/gtest.h>

namespace {

TEST(SearchHistoryTest, FoldersCompareAsPathsSearchTextsIgnoringCase)
{
    QStringList folders = { "/data/in", "/data/out", "/archive" };
    QStringList texts = { "acme", "850", "PO123" };

    // At the front already, in another letter case: the text keeps its old case.
    SearchHistory::Moves moves = SearchHistory::Update(folders, texts, "/data/in", "ACME");
    EXPECT_EQ(moves.Folder, 0);
    EXPECT_EQ(moves.SearchText, 0);
    EXPECT_EQ(texts, QStringList({ "acme", "850", "PO123" }));

    // Further down: moves to the front as typed now.
    moves = SearchHistory::Update(folders, texts, "/archive", "po123");
    EXPECT_EQ(moves.Folder, 2);
    EXPECT_EQ(moves.SearchText, 2);
    EXPECT_EQ(folders, QStringList({ "/archive", "/data/in", "/data/out" }));
    EXPECT_EQ(texts, QStringList({ "po123", "acme", "850" }));

    // New entries go first; nothing is dropped to make room.
    moves = SearchHistory::Update(folders, texts, "/data/IN", "810");
    EXPECT_EQ(moves.SearchText, -1);
    EXPECT_EQ(texts.size(), 4);
#if defined(Q_OS_LINUX)
    EXPECT_EQ(moves.Folder, -1); // another folder on a case-sensitive file system
    EXPECT_EQ(folders, QStringList({ "/data/IN", "/archive", "/data/in", "/data/out" }));
#else
    EXPECT_EQ(moves.Folder, 1);
#endif
}

} // namespace
