#include "ViewerFixture.h"

#include "RawDataView.h"
#include "TestEnvironment.h"

#include <QAction>
#include <QToolButton>

namespace {

using PositionIndicatorTest = ViewerFixture;

// The Elements.ini shipped beside the executable is read when the window is created.
TEST_F(PositionIndicatorTest, ShowsTheStartRightAfterLoading)
{
    EXPECT_EQ(Position(), QStringLiteral("Line: 1 Col: 1 ISA00"));
    EXPECT_EQ(ElementName(), QStringLiteral("Interchange Control Header"));
}

TEST_F(PositionIndicatorTest, ClicksAndKeysRefreshBothPanels)
{
    const RawDataView &view = *ui_.Memo1;
    const struct
    {
        const char *name;
        std::function<void()> act;
        const char *position;
        const char *element;
    } steps[] = {
        { "click on N1*ST*ACME after N1*ST*", [&] { ClickAt(view.LineIndex(4) + 6); },
            "Line: 5 Col: 7 N102", "Name" },
        { "Down", [&] { Press(Qt::Key_Down); }, "Line: 6 Col: 7 SE02",
            "Transaction Set Control Number" },
        { "Home", [&] { Press(Qt::Key_Home); }, "Line: 6 Col: 1 SE00", "Transaction Set Trailer" },
        { "End of ST*850*0002",
            [&] {
                Press(Qt::Key_Down);
                Press(Qt::Key_End);
            },
            "Line: 7 Col: 12 ST02", "Transaction Set Control Number" },
        // A selection made backwards is described by its start.
        { "Shift+Left five times",
            [&] {
                for (int i = 0; i < 5; ++i)
                    Press(Qt::Key_Left, Qt::ShiftModifier);
            },
            "Line: 7 Col: 7 ST01", "Transaction Set Identifier Code" },
        { "Ctrl+End: the empty line after the last segment",
            [&] { Press(Qt::Key_End, Qt::ControlModifier); }, "Line: 12 Col: 1 00", "" },
        { "Ctrl+A in the view selects all and refreshes to the start",
            [&] { Press(Qt::Key_A, Qt::ControlModifier); }, "Line: 1 Col: 1 ISA00",
            "Interchange Control Header" },
    };
    for (const auto &step : steps) {
        step.act();
        EXPECT_EQ(Position(), QLatin1String(step.position)) << step.name;
        EXPECT_EQ(ElementName(), QString::fromUtf8(step.element)) << step.name;
    }
    EXPECT_EQ(view.SelLength(), view.TextLength()) << "Ctrl+A selected everything";
}

TEST_F(PositionIndicatorTest, NamesComeFromTheWindowsDictionary)
{
    WindowProbe::ElementNames(window_).SetLines(
        { "n104 =not this", "n104=First", "N104=Second", "ST01=" });
    Load({ "N1*ST*ACME*92*1234", "ST*850*1" });
    ClickAt(ui_.Memo1->LineIndex(1) + 14);
    EXPECT_EQ(Position(), QStringLiteral("Line: 2 Col: 15 N104"));
    EXPECT_EQ(ElementName(), QStringLiteral("First"));
    ClickAt(ui_.Memo1->LineIndex(2) + 4);
    EXPECT_EQ(ElementName(), QString()) << "an empty value reads as no name";
}

// Select All from the menu refreshes nothing; the Copy button follows the selection.
TEST_F(PositionIndicatorTest, SelectionChangesEnableCopyWithoutARefresh)
{
    ClickAt(ui_.Memo1->LineIndex(2) + 3);
    const QString before = Position();
    EXPECT_FALSE(ui_.spCopy->isEnabled());

    ui_.SelectAll1->trigger();
    EXPECT_EQ(ui_.Memo1->SelLength(), ui_.Memo1->TextLength());
    EXPECT_TRUE(ui_.spCopy->isEnabled());
    EXPECT_EQ(Position(), before);

    ClickAt(ui_.Memo1->LineIndex(3));
    EXPECT_FALSE(ui_.spCopy->isEnabled());
    EXPECT_EQ(Position(), QStringLiteral("Line: 4 Col: 1 BEG00"));
}

// A refused file leaves the file shown working as before: the panels follow the caret, the
// segment-type steps and Go To by type walk it, and its text and title stay.
TEST_F(PositionIndicatorTest, ARefusedOpenLeavesTheShownFileWorking)
{
    const QString bad = dir_.filePath(QStringLiteral("bad.x12"));
    WriteBytes(bad, QByteArray(300, 'x'));
    const QString title = window_.windowTitle();
    const QByteArray text = ui_.Memo1->Model().TextRange(0, ui_.Memo1->TextLength());
    for (const QString &refused : { bad, dir_.filePath(QStringLiteral("missing.x12")) }) {
        MessageRecorder messages;
        MessageBoxes::Guarded([&] { window_.LoadFile(refused); });
        ASSERT_EQ(messages.Texts().size(), 1) << qPrintable(refused);
        EXPECT_EQ(window_.windowTitle(), title);
        EXPECT_EQ(ui_.Memo1->Model().TextRange(0, ui_.Memo1->TextLength()), text);
        EXPECT_TRUE(ui_.Memo1->isEnabled());

        ClickAt(ui_.Memo1->LineIndex(4) + 6);
        EXPECT_EQ(Position(), QStringLiteral("Line: 5 Col: 7 N102"));
        EXPECT_EQ(ElementName(), QStringLiteral("Name"));
        ClickAt(ui_.Memo1->LineIndex(2));
        Press(Qt::Key_N, Qt::ControlModifier);
        EXPECT_EQ(CaretLine(), 6) << "Ctrl+N";
        EXPECT_EQ(Position(), QStringLiteral("Line: 7 Col: 1 ST00"));
        Press(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(CaretLine(), 2) << "Ctrl+S";
        GoTo(QStringLiteral("2"), QStringLiteral("N1"));
        EXPECT_EQ(CaretLine(), 7) << "Go To by type";
        EXPECT_EQ(Position(), QStringLiteral("Line: 8 Col: 1 N100"));
        EXPECT_EQ(messages.Texts().size(), 1) << qPrintable(messages.Texts().join(u'\n'));
    }
}

} // namespace
