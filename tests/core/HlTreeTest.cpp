#include "HlTree.h"

#include "TextPrinters.h"

#include <gtest/gtest.h>

#include <QByteArrayList>

namespace {

// An 837's hierarchy: provider, two subscribers, a patient below the second, and an HL whose
// parent is missing. Segment i + 1 is texts[i].
const QByteArrayList Set = { "ST|837|0001", "BHT|0019", "HL|1||20|1", "NM1|85|2|CLINIC",
    "NM1|87|2|OTHER", "HL|2|1|22|0", "SBR|P", "NM1|IL|1|DOE|JANE", "HL|03|1|22|1",
    "NM1|IL|1|ROE|RICHARD", "HL|4|3|23|0", "NM1|QC|1|ROE|ANN", "HL|5|9|23|0", "SE|14|0001" };

HlTree::SegmentSource Source(qint64 *reads = nullptr)
{
    return [reads](qint64 n) {
        if (reads)
            ++*reads;
        return QByteArrayView(Set[n - 1]);
    };
}

TEST(HlTreeTest, BuildsTheTreeWithLevelsAndNames)
{
    const HlTree tree = HlTree::Build(Source(), 1, Set.size(), '|');
    ASSERT_EQ(tree.Count(), 5);
    EXPECT_EQ(tree.Roots(), std::vector<qint64>({ 0, 4 }));
    EXPECT_EQ(tree.At(0).Children, std::vector<qint64>({ 1, 2 }));
    EXPECT_EQ(tree.At(2).Children, std::vector<qint64>({ 3 }));
    const struct
    {
        qint64 segment, parent, row;
        QByteArray id, level;
        QString name;
    } nodes[] = {
        { 3, -1, 0, "1", "20", "CLINIC" },
        { 6, 0, 0, "2", "22", "DOE, JANE" },
        { 9, 0, 1, "03", "22", "ROE, RICHARD" },
        { 11, 2, 0, "4", "23", "ROE, ANN" },
        { 13, -1, 1, "5", "23", "" },
    };
    for (qint64 i = 0; i < 5; ++i) {
        const HlTree::Node &n = tree.At(i);
        EXPECT_EQ(std::make_tuple(n.Segment, n.Parent, n.Row, n.Id, n.Level, n.Name()),
            std::make_tuple(nodes[i].segment, nodes[i].parent, nodes[i].row, nodes[i].id,
                nodes[i].level, nodes[i].name));
    }
    EXPECT_EQ(tree.NodeHolding(2), -1);
    EXPECT_EQ(tree.NodeHolding(8), 1);
    EXPECT_EQ(tree.NodeHolding(13), 4);
}

TEST(HlTreeTest, StopsReadingAtTheNodeLimit)
{
    qint64 reads = 0;
    const HlTree tree = HlTree::Build(Source(&reads), 1, Set.size(), '|', 2);
    EXPECT_EQ(tree.Count(), 2);
    EXPECT_TRUE(tree.Truncated());
    EXPECT_EQ(reads, 8); // segments 2 to 9, the third HL
    EXPECT_FALSE(HlTree::Build(Source(), 1, Set.size(), '|').Truncated());
}

} // namespace
