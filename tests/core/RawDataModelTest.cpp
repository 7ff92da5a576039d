#include "RawDataModel.h"

#include "CasePrinter.h"
#include "MemoryLineSource.h"

#include <gtest/gtest.h>

#include <QByteArrayList>

#include <limits>

namespace {

using CasePrinter::PrintTo;

// Lines and the positions they take (a line break counts as one position):
//   0 "ST*850"      0-5, break 6
//   1 ""            break 7
//   2 "A\rB\nC"     8-12, break 13: a CR and an LF inside the line stay in it
//   3 "fst*St_x"    14-21, break 22
//   4 "caf\xE9"     23-26, break 27 (Latin-1 e acute)
//   5 ""            28, the empty line after the last break
const QByteArrayList Lines = { "ST*850", "", "A\rB\nC", "fst*St_x", "caf\xE9" };
constexpr qint64 Length = 28;

// The model over the lines above.
struct Loaded
{
    Loaded() { model.SetSource(&source); }
    MemoryLineSource source { Lines };
    RawDataModel model;
};

TEST(RawDataModelTest, HoldsEveryLineFollowedByOneBreak)
{
    const Loaded loaded;
    const RawDataModel &model = loaded.model;
    EXPECT_EQ(model.TextRange(0, Length), QByteArray("ST*850\n\nA\rB\nC\nfst*St_x\ncaf\xE9\n"));
    EXPECT_EQ(model.TextRange(4, 11), QByteArray("50\n\nA\rB"));
    EXPECT_EQ(model.TextRange(0, Length, 5), QByteArray("ST*85")) << "cut to the limit";
    EXPECT_EQ(model.TextLength(), Length);
    EXPECT_EQ(model.LineCount(), 6);
    EXPECT_EQ(model.LongestLineNumber(), 3);
    EXPECT_EQ(model.Line(3, 2, 3), QByteArray("t*S"));
}

// Lines that come while the model shows them: the text grows at its end, and what was there
// stays where it was.
TEST(RawDataModelTest, GrowsWithItsSource)
{
    MemoryLineSource source({ "ISA*00" }, false);
    RawDataModel model;
    model.SetSource(&source);
    model.SetCaret(7, false); // the empty line after the last
    source.Append("GS*PO");
    EXPECT_EQ(model.LineCount(), 3);
    EXPECT_EQ(model.TextLength(), 13);
    EXPECT_EQ(model.LineFromChar(7), 1);
    EXPECT_EQ(model.Caret(), 7);
    EXPECT_EQ(model.FindText("PO", 0, 100, true, false), 10);
}

TEST(RawDataModelTest, EmptyAndClearedModelsHaveOneEmptyLine)
{
    Loaded loaded;
    RawDataModel &cleared = loaded.model;
    cleared.SetSelStart(9);
    cleared.Clear();
    const RawDataModel empty;
    for (const RawDataModel *model : { &empty, const_cast<const RawDataModel *>(&cleared) }) {
        EXPECT_EQ(model->TextLength(), 0);
        EXPECT_EQ(model->LineCount(), 1);
        EXPECT_EQ(model->LineIndex(0), 0);
        EXPECT_EQ(model->LineIndex(1), -1);
        EXPECT_EQ(model->LineFromChar(0), 0);
        EXPECT_EQ(model->Caret(), 0);
        EXPECT_EQ(model->LongestLineNumber(), 0);
        EXPECT_EQ(model->FindText("S", 0, 10, false, false), -1);
    }
}

TEST(RawDataModelTest, LineFromChar)
{
    const Loaded loaded;
    const RawDataModel &model = loaded.model;
    const std::pair<qint64, qint64> cases[] = { { 0, 0 }, { 6, 0 }, { 7, 1 }, { 8, 2 }, { 10, 2 },
        { 11, 2 }, { 13, 2 }, { 14, 3 }, { 27, 4 }, { 28, 5 }, { 999, 5 }, { -5, 0 } };
    for (const auto &[position, line] : cases)
        EXPECT_EQ(model.LineFromChar(position), line) << "position " << position;
}

TEST(RawDataModelTest, LineIndexAndGetLine)
{
    const Loaded loaded;
    const RawDataModel &model = loaded.model;
    const qint64 starts[] = { 0, 7, 8, 14, 23, 28, -1 };
    for (qint64 line = 0; line < 7; ++line)
        EXPECT_EQ(model.LineIndex(line), starts[line]) << "line " << line;
    EXPECT_EQ(model.LineIndex(-1), -1);

    EXPECT_EQ(model.GetLine(2, 256), QByteArray("A\rB\nC"));
    EXPECT_EQ(model.GetLine(3, 3), QByteArray("fst"));
    EXPECT_EQ(model.GetLine(1, 256), QByteArray());
    EXPECT_EQ(model.GetLine(5, 256), QByteArray());
    EXPECT_EQ(model.GetLine(6, 256), QByteArray());
}

struct FindCase
{
    const char *name;
    QByteArray text;
    qint64 start;
    qint64 length;
    bool matchCase;
    bool wholeWord;
    qint64 found;
};

class FindTextTest : public testing::TestWithParam<FindCase>
{
};

TEST_P(FindTextTest, FirstMatchInRange)
{
    const FindCase &c = GetParam();
    EXPECT_EQ(
        Loaded().model.FindText(c.text, c.start, c.length, c.matchCase, c.wholeWord), c.found);
}

INSTANTIATE_TEST_SUITE_P(Cases, FindTextTest,
    testing::Values(FindCase { "AtTheStart", "ST", 0, Length, true, false, 0 },
        FindCase { "IgnoringCase", "st", 0, Length, false, false, 0 },
        FindCase { "MatchingCaseSkipsOtherCase", "st", 0, Length, true, false, 15 },
        FindCase { "FromTheStartOn", "ST", 1, Length, false, false, 15 },
        FindCase { "WholeWordAtTextStart", "ST", 0, Length, false, true, 0 },
        // "fst" and "St_x" hold the text only inside words.
        FindCase { "WholeWordNotInsideWords", "ST", 1, Length, false, true, -1 },
        FindCase { "WholeWordUnderscoreIsWordCharacter", "St", 0, Length, true, true, -1 },
        FindCase { "WholeWordAfterLineBreak", "fst", 0, Length, false, true, 14 },
        FindCase { "Latin1LettersIgnoringCase", "CAF\xC9", 0, Length, false, false, 23 },
        FindCase { "Latin1LettersMatchingCase", "CAF\xC9", 0, Length, true, false, -1 },
        FindCase { "Latin1LetterIsWordCharacter", "caf", 0, Length, true, true, -1 },
        FindCase { "ControlBytesInsideLine", "\rB\n", 0, Length, true, false, 9 },
        FindCase { "MatchMustEndInRange", "850", 0, 5, true, false, -1 },
        FindCase { "MatchEndingAtRangeEnd", "850", 0, 6, true, false, 3 },
        FindCase { "RangePastTheEndIsCut", "x", 20, 1000, true, false, 21 },
        FindCase {
            "HugeLengthIsCut", "caf", 1, std::numeric_limits<qint64>::max(), true, false, 23 },
        FindCase { "AcrossLineBreaks", "850\n\nA", 0, Length, true, false, 3 },
        FindCase { "StartPastTheEnd", "S", Length + 1, 5, false, false, -1 },
        FindCase { "EmptyText", "", 0, Length, false, false, -1 }),
    [](const testing::TestParamInfo<FindCase> &info) { return info.param.name; });

TEST(RawDataModelTest, SelectionOperations)
{
    Loaded loaded;
    RawDataModel &model = loaded.model;
    model.SetSelStart(3);
    model.SetSelLength(4);
    EXPECT_EQ(model.SelStart(), 3);
    EXPECT_EQ(model.SelLength(), 4);
    EXPECT_EQ(model.SelectedText(), QByteArray("850\n"));

    model.SetSelStart(5);
    EXPECT_EQ(model.SelStart(), 5);
    EXPECT_EQ(model.SelLength(), 0);

    model.SetSelStart(26);
    model.SetSelLength(100);
    EXPECT_EQ(model.SelLength(), 2) << "a selection stops at the end of the text";

    model.SetCaretPos(2, 3);
    EXPECT_EQ(model.Caret(), 16);
    EXPECT_EQ(model.SelLength(), 0);
    model.SetCaretPos(0, 99);
    EXPECT_EQ(model.Caret(), 28) << "a line past the last is the last line";
    model.SetCaretPos(7, 0);
    EXPECT_EQ(model.Caret(), 7) << "the column may run into the next line";

    model.SelectAll();
    EXPECT_EQ(model.SelStart(), 0);
    EXPECT_EQ(model.SelLength(), Length);
    EXPECT_EQ(model.SelectedText().size(), Length);

    // Made backwards: the start is the lower end, the end the higher, whichever is the caret.
    model.SetCaret(10, false);
    model.SetCaret(4, true);
    EXPECT_EQ(model.SelStart(), 4);
    EXPECT_EQ(model.SelLength(), 6);
    EXPECT_EQ(model.SelEnd(), 10);
    EXPECT_EQ(model.Caret(), 4);
}

using Move = RawDataModel::Move;

struct MoveCase
{
    const char *name;
    qint64 anchor;
    qint64 caret;
    Move move;
    bool extend;
    qint64 newAnchor;
    qint64 newCaret;
};

class MoveCaretTest : public testing::TestWithParam<MoveCase>
{
};

TEST_P(MoveCaretTest, CaretAndAnchor)
{
    const MoveCase &c = GetParam();
    Loaded loaded;
    RawDataModel &model = loaded.model;
    model.SetCaret(c.anchor, false);
    model.SetCaret(c.caret, true);
    model.MoveCaret(c.move, 2, c.extend);
    EXPECT_EQ(model.Anchor(), c.newAnchor);
    EXPECT_EQ(model.Caret(), c.newCaret);
}

INSTANTIATE_TEST_SUITE_P(Cases, MoveCaretTest,
    testing::Values(MoveCase { "RightOverLineBreak", 6, 6, Move::Right, false, 7, 7 },
        MoveCase { "LeftOverLineBreak", 7, 7, Move::Left, false, 6, 6 },
        MoveCase { "LeftStopsAtStart", 0, 0, Move::Left, false, 0, 0 },
        MoveCase { "RightStopsAtEnd", 28, 28, Move::Right, false, 28, 28 },
        MoveCase { "RightCollapsesToSelectionEnd", 3, 5, Move::Right, false, 5, 5 },
        MoveCase { "LeftCollapsesToSelectionStart", 5, 3, Move::Left, false, 3, 3 },
        MoveCase { "ShiftRightExtends", 3, 3, Move::Right, true, 3, 4 },
        MoveCase { "DownKeepsColumn", 4, 4, Move::Down, false, 7, 7 },
        MoveCase { "UpFromFirstLineStays", 4, 4, Move::Up, false, 4, 4 },
        MoveCase { "DownOnLastLineStays", 28, 28, Move::Down, false, 28, 28 },
        MoveCase { "HomeInsideLineWithLineFeed", 12, 12, Move::Home, false, 8, 8 },
        MoveCase { "EndInsideLineWithLineFeed", 9, 9, Move::End, false, 13, 13 },
        MoveCase { "ShiftEndExtends", 9, 9, Move::End, true, 9, 13 },
        MoveCase { "PageDown", 1, 1, Move::PageDown, false, 9, 9 },
        MoveCase { "PageUp", 15, 15, Move::PageUp, false, 7, 7 },
        MoveCase { "PageUpStopsAtFirstLine", 7, 7, Move::PageUp, false, 0, 0 },
        MoveCase { "TextEnd", 2, 2, Move::TextEnd, false, 28, 28 },
        MoveCase { "ShiftTextStartExtends", 20, 20, Move::TextStart, true, 20, 0 }),
    [](const testing::TestParamInfo<MoveCase> &info) { return info.param.name; });

TEST(RawDataModelTest, VerticalMovesRememberTheColumn)
{
    Loaded loaded;
    RawDataModel &model = loaded.model;
    model.SetCaret(4, false); // column 4 of "ST*850"
    model.MoveCaret(Move::Down, 1, false); // the empty line 1
    model.MoveCaret(Move::Down, 1, false);
    EXPECT_EQ(model.Caret(), 12) << "column 4 of line 2 again";
    model.MoveCaret(Move::Right, 1, false);
    model.MoveCaret(Move::Down, 1, false);
    EXPECT_EQ(model.Caret(), 19) << "a sideways move sets a new column (5)";
}

TEST(RawDataModelTest, DisplayCharsAreVisible)
{
    EXPECT_EQ(RawDataModel::DisplayChar('A'), QChar(u'A'));
    EXPECT_EQ(RawDataModel::DisplayChar(0xE9), QChar(u'\u00E9'));
    EXPECT_EQ(RawDataModel::DisplayChar('\r'), QChar(u'\u240D'));
    EXPECT_EQ(RawDataModel::DisplayChar('\n'), QChar(u'\u240A'));
    EXPECT_EQ(RawDataModel::DisplayChar('\t'), QChar(u'\u2409'));
    EXPECT_TRUE(RawDataModel::DisplayChar(0x85).isPrint());
}

} // namespace
