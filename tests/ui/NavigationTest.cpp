#include "ViewerFixture.h"

#include "RawDataView.h"

#include <QAction>
#include <QLineEdit>

namespace {

using NavigationTest = ViewerFixture;

TEST_F(NavigationTest, GoToLineByNumberOrByType)
{
    const struct
    {
        const char *line;
        const char *type;
        qint64 caretLine; // where the caret ends, at column 0 unless nothing moved
        const char *message;
    } cases[] = {
        { "5", "", 4, nullptr }, { "1", "ISA", 0, nullptr },
        { "2", "st", 6, nullptr }, // typed in lower case
        { "1", "IEA", 10, nullptr }, // the last segment counts too
        { "99", "", 11, nullptr }, // past the end: the last line, no message
        { "3", "ST", -1, "Not Found." }, // two ST segments only
        { "1", "S", -1, "Not Found." }, // ids compare whole
    };
    for (const auto &c : cases) {
        ui_.Memo1->SetSelStart(ui_.Memo1->LineIndex(3) + 2);
        ui_.Memo1->SetSelLength(30);
        const qint64 start = ui_.Memo1->SelStart();
        MessageRecorder messages;
        GoTo(QLatin1String(c.line), QLatin1String(c.type));
        const QString what
            = QStringLiteral("%1 %2").arg(QLatin1String(c.line), QLatin1String(c.type));
        if (c.message) {
            EXPECT_EQ(messages.Texts(), QStringList(QLatin1String(c.message))) << qPrintable(what);
            EXPECT_EQ(ui_.Memo1->SelStart(), start) << qPrintable(what);
            EXPECT_EQ(ui_.Memo1->SelLength(), 30) << qPrintable(what);
        } else {
            EXPECT_TRUE(messages.Texts().isEmpty()) << qPrintable(what);
            EXPECT_EQ(ui_.Memo1->SelStart(), ui_.Memo1->LineIndex(c.caretLine)) << qPrintable(what);
            EXPECT_EQ(ui_.Memo1->SelLength(), 0) << qPrintable(what);
            EXPECT_EQ(window_.focusWidget(), ui_.Memo1) << qPrintable(what);
            EXPECT_EQ(Position(),
                QStringLiteral("Line: %1 Col: 1 ").arg(c.caretLine + 1)
                    + QString::fromLatin1(ui_.Memo1->GetLine(c.caretLine, 3).split('*').first())
                    + QLatin1String("00"))
                << qPrintable(what);
        }
    }
}

TEST_F(NavigationTest, BoxesKeepTheirTextsAndCancelDoesNothing)
{
    GoTo(QStringLiteral("2"), QStringLiteral(" st "));
    EXPECT_EQ(goTo_.Edit2->text(), QStringLiteral("ST"));
    EXPECT_EQ(CaretLine(), 6);

    ui_.Memo1->SetSelStart(0);
    GoTo(QStringLiteral("1"), QStringLiteral("N1"), true);
    EXPECT_EQ(ui_.Memo1->SelStart(), 0);
    EXPECT_EQ(goTo_.Edit1->text(), QStringLiteral("1"));
    EXPECT_EQ(goTo_.Edit2->text(), QStringLiteral("N1")) << "the boxes keep what was typed";
}

TEST_F(NavigationTest, NextAndPreviousOfThisType)
{
    using Command = QAction *MainWindowControls::*;
    const Command next = &MainWindowControls::GotoNextMatchingSegmentType1;
    const Command previous = &MainWindowControls::GotoPreviousSegmentofThisType1;
    const struct
    {
        const char *name;
        qint64 from; // caret line
        Command command;
        qint64 to; // -1: the caret stays
        const char *message;
    } cases[] = {
        { "next ST", 2, next, 6, nullptr },
        { "next N1", 4, next, 7, nullptr },
        { "no ST after the last", 6, next, -1, "Not found." },
        { "last segment finds itself", 10, next, 10, nullptr },
        { "empty last line finds the last segment", 11, next, 10, nullptr },
        { "previous ST", 6, previous, 2, nullptr },
        { "no ST before the first", 2, previous, -1, "Not found." },
        { "first line: nothing at all", 0, previous, -1, nullptr },
    };
    for (const auto &c : cases) {
        ui_.Memo1->SetCaretPos(3, LineNumber(c.from));
        const qint64 start = ui_.Memo1->SelStart();
        MessageRecorder messages;
        (ui_.*c.command)->trigger();
        EXPECT_EQ(ui_.Memo1->SelStart(), c.to < 0 ? start : ui_.Memo1->LineIndex(c.to)) << c.name;
        EXPECT_EQ(
            messages.Texts(), c.message ? QStringList(QLatin1String(c.message)) : QStringList())
            << c.name;
    }
    EXPECT_EQ(Position(), QStringLiteral("Line: 3 Col: 1 ST00")) << "not refreshed by a miss";

    // The steps start from the selection's end, the indicator describes its start.
    ui_.Memo1->SetSelStart(ui_.Memo1->LineIndex(2) + 1);
    ui_.Memo1->SetSelLength(ui_.Memo1->LineIndex(4) + 2 - ui_.Memo1->SelStart());
    ui_.GotoNextMatchingSegmentType1->trigger();
    EXPECT_EQ(CaretLine(), 7);
    EXPECT_EQ(Position(), QStringLiteral("Line: 8 Col: 1 N100"));
    EXPECT_EQ(ElementName(), QStringLiteral("Party Identification"));
}

} // namespace
