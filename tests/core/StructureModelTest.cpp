#include "StructureModel.h"

#include "EnvelopeFixture.h"
#include "TextPrinters.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using EnvelopeFixture::OutlineOf;

const QByteArrayList Segments = EnvelopeFixture::TwoInterchanges();

class StructureModelTest : public testing::Test
{
protected:
    StructureModelTest()
    {
        model_.SetSegmentSource([this](qint64 n) {
            ++reads_;
            return QByteArrayView(Segments[n - 1]);
        });
    }

    QModelIndex At(const std::vector<int> &rows) const
    {
        QModelIndex index;
        for (int row : rows)
            index = model_.index(row, 0, index);
        return index;
    }
    QString Text(const std::vector<int> &rows, int column) const
    {
        return At(rows).siblingAtColumn(column).data().toString();
    }
    void Open(const std::vector<int> &rows)
    {
        if (model_.canFetchMore(At(rows)))
            model_.fetchMore(At(rows));
    }

    StructureModel model_;
    int reads_ = 0;
};

TEST_F(StructureModelTest, NodesShowTheirKeyValues)
{
    model_.SetOutline(OutlineOf(Segments), true);
    Open({ 0, 0, 0 });
    const struct
    {
        std::vector<int> rows;
        const char *label;
        const char *details;
        qint64 segment;
    } nodes[] = {
        { { 0 }, "ISA 000000905",
            "sender ZZ SENDERID, receiver ZZ RECEIVERID, date 240102 0930, 1 group, closed by "
            "IEA at 14",
            1 },
        { { 0, 0 }, "GS 1",
            "HC, sender A, receiver B, version 005010X222A1, 2 sets, closed by GE at 13", 2 },
        { { 0, 0, 0 }, "ST 0001", "837, convention 005010X222A1, 8 segments, closed by SE at 10",
            3 },
        { { 0, 0, 0, 0 }, "HL 1", "level 20, CLINIC", 5 },
        { { 0, 0, 0, 0, 0 }, "HL 2", "level 22, DOE, JANE", 7 },
        { { 0, 0, 1 }, "ST 0002", "837, 2 segments, closed by SE at 12", 11 },
        { { 1, 0, 0 }, "ST 0001", "850, 3 segments, closed by SE at 19", 17 },
    };
    for (const auto &n : nodes) {
        SCOPED_TRACE(n.label);
        EXPECT_EQ(Text(n.rows, StructureModel::EnvelopeColumn), QLatin1String(n.label));
        EXPECT_EQ(Text(n.rows, StructureModel::DetailsColumn), QLatin1String(n.details));
        EXPECT_EQ(At(n.rows).data(StructureModel::SegmentRole).toLongLong(), n.segment);
        // Every node knows its way back.
        const std::vector<int> up(n.rows.begin(), n.rows.end() - 1);
        EXPECT_EQ(At(n.rows).parent(), At(up));
        EXPECT_EQ(At(n.rows).row(), n.rows.back());
    }

    // A set no GS opens, after the last IEA, in an interchange no ISA opens.
    model_.SetOutline(OutlineOf(Segments + QByteArrayList { "ST*997*0009", "SE*2*0009" }), true);
    ASSERT_EQ(model_.rowCount(), 3);
    EXPECT_EQ(Text({ 2 }, 0), QStringLiteral("(no ISA)"));
    EXPECT_EQ(Text({ 2 }, 1), QStringLiteral("1 group that no ISA opens"));
    EXPECT_EQ(Text({ 2, 0 }, 0), QStringLiteral("(no GS)"));
    EXPECT_EQ(Text({ 2, 0, 0 }, 0), QStringLiteral("ST 0009"));
}

TEST_F(StructureModelTest, ASetOpensIntoItsHlTreeReadOnce)
{
    model_.SetOutline(OutlineOf(Segments), true);
    const QModelIndex set = At({ 0, 0, 0 });
    EXPECT_TRUE(model_.hasChildren(set));
    EXPECT_EQ(model_.rowCount(set), 0);
    EXPECT_EQ(reads_, 0);
    Open({ 0, 0, 0 });
    EXPECT_EQ(reads_, 6); // segments 4 to 9, between the ST and the SE
    EXPECT_EQ(model_.rowCount(set), 1);
    EXPECT_EQ(model_.rowCount(At({ 0, 0, 0, 0 })), 1);
    EXPECT_FALSE(model_.canFetchMore(set));
    // A set of ST and SE alone has nothing to open.
    EXPECT_FALSE(model_.hasChildren(At({ 0, 0, 1 })));

    // While the check runs, the set it is in may grow yet; without a source no set opens.
    model_.SetOutline(OutlineOf(Segments, 9), false);
    EXPECT_FALSE(model_.hasChildren(At({ 0, 0, 0 })));
    EXPECT_EQ(Text({ 0, 0, 0 }, 1), QStringLiteral("837, convention 005010X222A1, 7 segments"));
    model_.SetSegmentSource({});
    model_.SetOutline(OutlineOf(Segments), true);
    EXPECT_FALSE(model_.hasChildren(At({ 0, 0, 0 })));
}

TEST_F(StructureModelTest, LaterSnapshotsInsertWhatIsNew)
{
    model_.SetOutline(OutlineOf(Segments, 9), false);
    std::vector<std::tuple<QModelIndex, int, int>> inserted;
    QObject::connect(&model_, &QAbstractItemModel::rowsInserted,
        [&](const QModelIndex &parent, int first, int last) {
            inserted.emplace_back(parent, first, last);
        });
    int resets = 0;
    QObject::connect(&model_, &QAbstractItemModel::modelReset, [&] { ++resets; });

    model_.UpdateOutline(OutlineOf(Segments, 16), false);
    model_.UpdateOutline(OutlineOf(Segments), true);
    EXPECT_EQ(resets, 0);
    // The second set of the first group, the second interchange, then a set in its group.
    ASSERT_EQ(inserted.size(), 3u);
    EXPECT_EQ(inserted[0], std::make_tuple(At({ 0, 0 }), 1, 1));
    EXPECT_EQ(inserted[1], std::make_tuple(QModelIndex(), 1, 1));
    EXPECT_EQ(inserted[2], std::make_tuple(At({ 1, 0 }), 0, 0));
    EXPECT_EQ(Text({ 0, 0, 0 }, 1),
        QStringLiteral("837, convention 005010X222A1, 8 segments, closed by SE at 10"));
    EXPECT_TRUE(model_.hasChildren(At({ 0, 0, 0 })));

    // A snapshot smaller than what is shown is another file's.
    model_.UpdateOutline(OutlineOf(Segments, 3), false);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(model_.rowCount(), 1);
}

TEST_F(StructureModelTest, SegmentsAreFoundInTheirNodes)
{
    model_.SetOutline(OutlineOf(Segments), true);
    const QModelIndex set = At({ 0, 0, 0 });
    EXPECT_EQ(model_.IndexHolding(4), set);
    EXPECT_FALSE(model_.HlHolding(set, 8).isValid()); // not read yet
    Open({ 0, 0, 0 });
    const struct
    {
        qint64 segment;
        std::vector<int> node, hl;
    } cases[] = {
        { 1, { 0 }, {} },
        { 4, { 0, 0, 0 }, {} },
        { 5, { 0, 0, 0 }, { 0, 0, 0, 0 } },
        { 9, { 0, 0, 0 }, { 0, 0, 0, 0, 0 } },
        { 13, { 0, 0 }, {} },
        { 18, { 1, 0, 0 }, {} },
        { 99, {}, {} },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.segment);
        const QModelIndex node = model_.IndexHolding(c.segment);
        EXPECT_EQ(node, At(c.node));
        EXPECT_EQ(model_.HlHolding(node, c.segment), At(c.hl));
    }
}

} // namespace
