#include "ProblemsList.h"

#include "EnvelopeFixture.h"
#include "TextPrinters.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>

namespace {

using EnvelopeFixture::ProblemsOf;

// Problems at 5 and 6 (SE01, SE02), and, once the end is known, at 1 (no IEA).
const QByteArrayList Segments = { EnvelopeFixture::Isa(), "GS*IN*A*B*20240102*0930*7*X*004010",
    "ST*810*0001", "BIG*1", "SE*9*0002", "GE*1*8" };

class ProblemsListTest : public testing::Test
{
protected:
    ProblemsListTest()
    {
        view_ = list_.findChild<QTreeView *>(QStringLiteral("problemsView"));
        summary_ = list_.findChild<QLabel *>(QStringLiteral("problemsSummary"));
    }

    QString Cell(int row, int column) const
    {
        return view_->model()->index(row, column).data().toString();
    }

    ProblemsList list_;
    QTreeView *view_ = nullptr;
    QLabel *summary_ = nullptr;
};

TEST_F(ProblemsListTest, ListsTheProblemsWithTheirCount)
{
    ASSERT_NE(view_, nullptr);
    ASSERT_NE(summary_, nullptr);
    list_.SetProblems(ProblemsOf(Segments, Segments.size()), false);
    EXPECT_EQ(summary_->text(), QStringLiteral("3 problems so far"));
    ASSERT_EQ(view_->model()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("5"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("SE01 is 9 but the transaction set has 3 segments"));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("GE02 8 does not match GS06 7"));

    // A problem found later comes first; the one selected stays selected.
    list_.SelectSegment(6);
    EXPECT_EQ(view_->currentIndex().row(), 2);
    list_.SetProblems(ProblemsOf(Segments), true);
    EXPECT_EQ(summary_->text(), QStringLiteral("4 problems"));
    EXPECT_EQ(Cell(0, 0), QStringLiteral("1"));
    EXPECT_EQ(view_->currentIndex().row(), 3);
    EXPECT_EQ(Cell(view_->currentIndex().row(), 1), QStringLiteral("GE02 8 does not match GS06 7"));

    list_.SelectSegment(4);
    EXPECT_TRUE(view_->selectionModel()->selectedIndexes().isEmpty());
    list_.SetProblems(ProblemsOf({ Segments[0], "IEA*0*000000007" }), true);
    EXPECT_EQ(summary_->text(), QStringLiteral("No problems"));
    EXPECT_EQ(view_->model()->rowCount(), 0);
    list_.Clear();
    EXPECT_TRUE(summary_->text().isEmpty());
}

TEST_F(ProblemsListTest, ClickingAProblemGoesToItsSegment)
{
    list_.SetProblems(ProblemsOf(Segments), true);
    list_.resize(400, 300);
    list_.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list_));
    QSignalSpy goTo(&list_, &ProblemsList::GoToSegment);
    for (const auto &[row, segment] :
        { std::pair { 1, 5 }, std::pair { 0, 1 }, std::pair { 3, 6 } }) {
        const QRect rect = view_->visualRect(view_->model()->index(row, 1));
        QTest::mouseClick(view_->viewport(), Qt::LeftButton, {}, rect.center());
        ASSERT_EQ(goTo.count(), 1);
        EXPECT_EQ(goTo.takeFirst().value(0).toLongLong(), segment);
    }
    list_.SelectSegment(5);
    EXPECT_TRUE(goTo.isEmpty());
}

} // namespace
