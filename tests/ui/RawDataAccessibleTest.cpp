#include "MemoryLineSource.h"
#include "RawDataView.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTextInterface>

namespace {

// Lines: "ISA*00" (0-5, break 6), "GS\rX" (7-10, break 11: a CR inside), "IEA*1" (12-16,
// break 17), then the empty last line at 18.
class RawDataAccessibleTest : public testing::Test
{
protected:
    RawDataAccessibleTest()
    {
        view_.setAccessibleName(QStringLiteral("Raw Data"));
        view_.SetSource(&lines_);
        view_.resize(300, 200);
        view_.show();
        accessible_ = QAccessible::queryAccessibleInterface(&view_);
        text_ = accessible_ ? accessible_->textInterface() : nullptr;
    }

    MemoryLineSource lines_ { { "ISA*00", "GS\rX", "IEA*1" } };
    RawDataView view_;
    QAccessibleInterface *accessible_ = nullptr;
    QAccessibleTextInterface *text_ = nullptr;
};

TEST_F(RawDataAccessibleTest, IsAReadOnlyTextWithAName)
{
    ASSERT_NE(text_, nullptr);
    EXPECT_EQ(accessible_->role(), QAccessible::EditableText);
    EXPECT_TRUE(accessible_->state().readOnly);
    EXPECT_TRUE(accessible_->state().multiLine);
    EXPECT_EQ(accessible_->text(QAccessible::Name), QStringLiteral("Raw Data"));
    EXPECT_EQ(accessible_->text(QAccessible::Value), QStringLiteral("ISA*00"))
        << "the caret's line";
    EXPECT_EQ(text_->characterCount(), 18);
}

TEST_F(RawDataAccessibleTest, TextRangesReadWhatTheViewShows)
{
    ASSERT_NE(text_, nullptr);
    EXPECT_EQ(text_->text(0, 6), QStringLiteral("ISA*00"));
    EXPECT_EQ(text_->text(4, 9), QStringLiteral("00\nGS")) << "the view's break is a break";
    EXPECT_EQ(text_->text(9, 11), QStringLiteral("\u240DX"))
        << "a CR in a line reads as its symbol";
    EXPECT_EQ(text_->text(15, 100), QStringLiteral("*1\n")) << "cut at the end";
    EXPECT_EQ(text_->text(5, 2), QString());
}

TEST_F(RawDataAccessibleTest, LineAndCharacterBoundaries)
{
    ASSERT_NE(text_, nullptr);
    int start = 0;
    int end = 0;
    EXPECT_EQ(text_->textAtOffset(8, QAccessible::LineBoundary, &start, &end),
        QStringLiteral("GS\u240DX\n"));
    EXPECT_EQ(start, 7);
    EXPECT_EQ(end, 12);
    EXPECT_EQ(text_->textBeforeOffset(8, QAccessible::LineBoundary, &start, &end),
        QStringLiteral("ISA*00\n"));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(text_->textAfterOffset(8, QAccessible::LineBoundary, &start, &end),
        QStringLiteral("IEA*1\n"));
    EXPECT_EQ(start, 12);
    EXPECT_EQ(end, 18);
    EXPECT_EQ(text_->textBeforeOffset(3, QAccessible::LineBoundary, &start, &end), QString());
    EXPECT_EQ(start, -1);
    EXPECT_EQ(text_->textAfterOffset(14, QAccessible::LineBoundary, &start, &end), QString());
    EXPECT_EQ(text_->textAtOffset(2, QAccessible::CharBoundary, &start, &end), QStringLiteral("A"));
    EXPECT_EQ(
        text_->textAtOffset(13, QAccessible::WordBoundary, &start, &end), QStringLiteral("IEA"));
    EXPECT_EQ(start, 12);
    EXPECT_EQ(end, 15);
}

TEST_F(RawDataAccessibleTest, CaretAndSelectionFollowTheView)
{
    ASSERT_NE(text_, nullptr);
    EXPECT_EQ(text_->cursorPosition(), 0);
    EXPECT_EQ(text_->selectionCount(), 0);
    view_.SetSelStart(7);
    view_.SetSelLength(4);
    EXPECT_EQ(text_->cursorPosition(), 11);
    ASSERT_EQ(text_->selectionCount(), 1);
    int start = 0;
    int end = 0;
    text_->selection(0, &start, &end);
    EXPECT_EQ(start, 7);
    EXPECT_EQ(end, 11);

    // Assistive technology can move them too.
    text_->setSelection(0, 12, 15);
    EXPECT_EQ(view_.SelStart(), 12);
    EXPECT_EQ(view_.SelLength(), 3);
    text_->setCursorPosition(2);
    EXPECT_EQ(view_.SelStart(), 2);
    EXPECT_EQ(view_.SelLength(), 0);
    EXPECT_EQ(
        text_->offsetAtPoint(view_.viewport()->mapToGlobal(view_.CharacterRect(8).center())), 8);
}

} // namespace
