#include "StructurePane.h"

#include "EnvelopeFixture.h"
#include "TextPrinters.h"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

#include <vector>

namespace {

using EnvelopeFixture::OutlineOf;

const QByteArrayList Segments = EnvelopeFixture::TwoInterchanges();

class StructurePaneTest : public testing::Test
{
protected:
    StructurePaneTest()
    {
        pane_.SetSegmentSource([this](qint64 n) {
            ++reads_;
            return QByteArrayView(Segments[n - 1]);
        });
        tree_ = pane_.findChild<QTreeView *>(QStringLiteral("structureTree"));
    }

    QAbstractItemModel *Model() const { return tree_->model(); }
    QModelIndex At(const std::vector<int> &rows) const
    {
        QModelIndex index;
        for (int row : rows)
            index = Model()->index(row, 0, index);
        return index;
    }
    static QString Text(const QModelIndex &index, int column = 0)
    {
        return index.siblingAtColumn(column).data().toString();
    }

    StructurePane pane_;
    QTreeView *tree_ = nullptr;
    int reads_ = 0;
};

TEST_F(StructurePaneTest, OpeningASetReadsItsHlTreeOnce)
{
    ASSERT_NE(tree_, nullptr);
    pane_.SetOutline(OutlineOf(Segments), false);
    // A single interchange is shown open; here there are two.
    EXPECT_FALSE(tree_->isExpanded(At({ 0 })));
    pane_.SetOutline(OutlineOf(Segments, 9), false);
    EXPECT_TRUE(tree_->isExpanded(At({ 0 })));
    pane_.SetOutline(OutlineOf(Segments), true);

    const QModelIndex set = At({ 0, 0, 0 });
    tree_->expand(set);
    EXPECT_EQ(reads_, 6);
    ASSERT_EQ(Model()->rowCount(set), 1);
    EXPECT_EQ(Text(At({ 0, 0, 0, 0 })), QStringLiteral("HL 1"));
    tree_->collapse(set);
    tree_->expand(set);
    EXPECT_EQ(reads_, 6);

    pane_.Clear();
    EXPECT_EQ(Model()->rowCount(), 0);
}

TEST_F(StructurePaneTest, ClickGoesToTheSegmentAndTheCaretSelectsTheNode)
{
    pane_.SetOutline(OutlineOf(Segments), true);
    pane_.resize(400, 400);
    pane_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane_));
    QSignalSpy goTo(&pane_, &StructurePane::GoToSegment);

    // Each node is there once its parent is open.
    for (const std::vector<int> &rows :
        { std::vector<int> { 0 }, { 0, 0 }, { 0, 0, 0 }, { 0, 0, 0, 0 }, { 1 }, { 1, 0 } })
        tree_->expand(At(rows));
    for (const auto &[rows, segment] : { std::pair { std::vector<int> { 0, 0, 1 }, 11 },
             std::pair { std::vector<int> { 0, 0, 0, 0, 0 }, 7 },
             std::pair { std::vector<int> { 1 }, 15 } }) {
        const QRect rect = tree_->visualRect(At(rows));
        ASSERT_TRUE(rect.isValid());
        QTest::mouseClick(tree_->viewport(), Qt::LeftButton, {}, rect.center());
        ASSERT_FALSE(goTo.isEmpty());
        EXPECT_EQ(goTo.takeLast().value(0).toLongLong(), segment);
    }

    // The caret selects the deepest node that holds it, and asks for no move.
    goTo.clear();
    const struct
    {
        qint64 segment;
        QString label;
    } carets[] = { { 8, "HL 2" }, { 9, "HL 2" }, { 4, "ST 0001" }, { 13, "GS 1" },
        { 14, "ISA 000000905" }, { 18, "ST 0001" } };
    for (const auto &c : carets) {
        pane_.SelectSegment(c.segment);
        EXPECT_EQ(Text(tree_->currentIndex()), c.label) << c.segment;
        EXPECT_TRUE(tree_->selectionModel()->isSelected(tree_->currentIndex()));
    }
    EXPECT_EQ(tree_->currentIndex().parent().parent(), At({ 1 }));
    // In a set that is closed, its own node.
    tree_->collapse(At({ 0, 0, 0 }));
    pane_.SelectSegment(8);
    EXPECT_EQ(tree_->currentIndex(), At({ 0, 0, 0 }));
    pane_.SelectSegment(99);
    EXPECT_TRUE(tree_->selectionModel()->selectedIndexes().isEmpty());
    EXPECT_TRUE(goTo.isEmpty());
}

TEST_F(StructurePaneTest, LaterSnapshotsKeepWhatIsOpenAndSelected)
{
    pane_.SetOutline(OutlineOf(Segments, 9), false);
    tree_->expand(At({ 0, 0 }));
    tree_->setCurrentIndex(At({ 0, 0, 0 }));
    pane_.UpdateOutline(OutlineOf(Segments, 16), false);
    pane_.UpdateOutline(OutlineOf(Segments), true);
    ASSERT_EQ(Model()->rowCount(), 2);
    EXPECT_TRUE(tree_->isExpanded(At({ 0 })));
    EXPECT_TRUE(tree_->isExpanded(At({ 0, 0 })));
    EXPECT_EQ(Model()->rowCount(At({ 0, 0 })), 2);
    EXPECT_EQ(tree_->currentIndex(), At({ 0, 0, 0 }));
}

} // namespace
