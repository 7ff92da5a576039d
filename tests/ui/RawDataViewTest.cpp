#include "RawDataView.h"
#include "MemoryLineSource.h"
#include "WindowFont.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <climits>
#include <memory>

namespace {

class RawDataViewTest : public testing::Test
{
protected:
    RawDataViewTest()
    {
        // The main window's font for the view, whatever font an earlier test gave the
        // application: printing scales a point size, not a pixel size.
        view_.setFont(RawDataFont());
        view_.resize(320, 200);
        view_.show();
    }

    void Fill(const QByteArrayList &lines)
    {
        lines_ = std::make_unique<MemoryLineSource>(lines);
        view_.SetSource(lines_.get());
    }

    // Numbered lines "L0000*ELEMENT", "L0001*ELEMENT", ...
    void FillNumbered(int count)
    {
        QByteArrayList lines;
        for (int i = 0; i < count; ++i)
            lines.append(
                QByteArray("L") + QByteArray::number(i).rightJustified(4, '0') + "*ELEMENT");
        Fill(lines);
    }

    QPoint PointOf(qint64 position) const { return view_.CharacterRect(position).center(); }

    std::unique_ptr<MemoryLineSource> lines_;
    RawDataView view_;
};

TEST_F(RawDataViewTest, SelectionChangeSignalsOnlyRealChanges)
{
    FillNumbered(3);
    QSignalSpy changed(&view_, &RawDataView::SelectionChanged);
    view_.SetSelStart(0);
    EXPECT_EQ(changed.count(), 0) << "the caret already stood there";
    view_.SetSelStart(4);
    view_.SetSelLength(3);
    view_.SelectAll();
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(view_.SelLength(), view_.TextLength());
    const TextPoint end = view_.CaretPos();
    EXPECT_EQ(end.Line, LineNumber(3));
    EXPECT_EQ(end.Column, 0);
}

TEST_F(RawDataViewTest, CaretPosIsTheSelectionsEndAndSetCaretPosCollapses)
{
    FillNumbered(3);
    view_.SetSelStart(2);
    view_.SetSelLength(16); // from line 0 into line 1
    EXPECT_EQ(view_.CaretPos().Line, LineNumber(1));
    EXPECT_EQ(view_.CaretPos().Column, 4);
    view_.SetCaretPos(3, LineNumber(2));
    EXPECT_EQ(view_.SelStart(), view_.LineIndex(2) + 3);
    EXPECT_EQ(view_.SelLength(), 0);
}

TEST_F(RawDataViewTest, ClickSelectsAndSignalsOnRelease)
{
    FillNumbered(20);
    QSignalSpy clicked(&view_, &RawDataView::Clicked);
    const qint64 target = view_.LineIndex(3) + 5;
    QTest::mousePress(view_.viewport(), Qt::LeftButton, {}, PointOf(target));
    EXPECT_EQ(view_.SelStart(), target);
    EXPECT_EQ(clicked.count(), 0) << "the click is its release";
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, PointOf(target));
    EXPECT_EQ(clicked.count(), 1);

    // A drag selects from the press to the release; Shift+click extends.
    const qint64 end = view_.LineIndex(5) + 2;
    QTest::mousePress(view_.viewport(), Qt::LeftButton, {}, PointOf(target));
    QMouseEvent move(QEvent::MouseMove, PointOf(end), view_.viewport()->mapToGlobal(PointOf(end)),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view_.viewport(), &move);
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, PointOf(end));
    EXPECT_EQ(view_.SelStart(), target);
    EXPECT_EQ(view_.SelLength(), end - target);
    QTest::mouseClick(view_.viewport(), Qt::LeftButton, Qt::ShiftModifier, PointOf(end + 1));
    EXPECT_EQ(view_.SelLength(), end + 1 - target);

    // A release without a press in the view, or of another button, is no click.
    clicked.clear();
    QTest::mouseRelease(view_.viewport(), Qt::LeftButton, {}, PointOf(target));
    QTest::mouseClick(view_.viewport(), Qt::RightButton, {}, PointOf(target));
    EXPECT_EQ(clicked.count(), 0);
}

TEST_F(RawDataViewTest, KeysMoveTheCaretAndScrollItIntoView)
{
    FillNumbered(1000);
    QSignalSpy released(&view_, &RawDataView::KeyReleased);
    QTest::keyClick(&view_, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(view_.SelStart(), view_.TextLength());
    EXPECT_EQ(view_.TopLine(), 1001 - view_.PageLines()) << "the last line is in view";
    EXPECT_EQ(view_.verticalScrollBar()->value(), view_.TopLine());
    ASSERT_EQ(released.count(), 2) << "End, then Control";
    EXPECT_EQ(released.first().first().toInt(), int(Qt::Key_End));

    QTest::keyClick(&view_, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(&view_, Qt::Key_PageDown);
    EXPECT_EQ(view_.LineFromChar(view_.SelStart()), view_.PageLines());
    EXPECT_EQ(view_.TopLine(), view_.PageLines()) << "Page Down turns the page";

    QTest::keyClick(&view_, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(&view_, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(view_.SelStart(), view_.LineIndex(view_.PageLines()));
    EXPECT_EQ(view_.SelLength(), 15) << "a line of 13 characters, its break, and one more";
}

TEST_F(RawDataViewTest, SetSelLengthScrollsTheCaretIntoView)
{
    FillNumbered(1000);
    view_.SetSelStart(view_.LineIndex(900));
    EXPECT_EQ(view_.TopLine(), 0) << "setting the start alone does not scroll";
    view_.SetSelLength(3);
    EXPECT_LE(view_.TopLine(), 900);
    EXPECT_GT(view_.TopLine() + view_.PageLines(), 900);
}

// The horizontal range ends at the longest line and the caret after it, in a font whose
// characters differ in width as in one whose characters do not.
TEST_F(RawDataViewTest, ScrollRangesCountLinesAndEndAtTheLongestLine)
{
    const QByteArray longest = QByteArray("ISA*") + QByteArray(300, 'i') + QByteArray(200, 'W');
    for (const QFont &font : { WindowFont(), RawDataFont() }) {
        view_.setFont(font);
        Fill({ "short", longest, "x" });
        EXPECT_EQ(view_.verticalScrollBar()->maximum(), qMax(qint64(0), 4 - view_.PageLines()));
        QScrollBar *bar = view_.horizontalScrollBar();
        bar->setValue(bar->maximum());
        const int end = view_.CharacterRect(view_.LineIndex(1) + longest.size()).left();
        const int width = view_.viewport()->width();
        EXPECT_LT(end, width) << "the caret after the last character shows";
        EXPECT_GE(end, width - 6) << "and nothing but a margin lies beyond it";
    }

    // Ctrl+End and End on the long line bring the caret into the horizontal range.
    view_.SetCaretPos(0, LineNumber(1));
    QTest::keyClick(&view_, Qt::Key_End);
    const QRect caret = view_.CharacterRect(view_.SelStart());
    EXPECT_GE(caret.left(), 0);
    EXPECT_LE(caret.left(), view_.viewport()->width());
}

// Beyond the scroll bar's int range the bar is scaled; both ends and the order of lines hold.
TEST(RawDataViewScrollTest, ScaledScrollValues)
{
    const qint64 small = 1000;
    EXPECT_EQ(RawDataView::ScrollValue(734, small), 734);
    EXPECT_EQ(RawDataView::TopLineForValue(734, small), 734);

    for (const qint64 maxTop : { qint64(INT_MAX) + 1, qint64(5'000'000'000), qint64(1) << 40 }) {
        EXPECT_EQ(RawDataView::ScrollValue(0, maxTop), 0);
        EXPECT_EQ(RawDataView::ScrollValue(maxTop, maxTop), INT_MAX);
        EXPECT_EQ(RawDataView::TopLineForValue(0, maxTop), 0);
        EXPECT_EQ(RawDataView::TopLineForValue(INT_MAX, maxTop), maxTop);
        const qint64 middle = maxTop / 2;
        const int value = RawDataView::ScrollValue(middle, maxTop);
        EXPECT_NEAR(double(value), INT_MAX / 2.0, 1.0);
        // Back from the value, the line is within one step of the bar of where it was.
        EXPECT_LE(qAbs(RawDataView::TopLineForValue(value, maxTop) - middle), maxTop / INT_MAX + 1);
        EXPECT_LT(RawDataView::ScrollValue(middle - maxTop / 1000, maxTop), value);
    }
}

TEST_F(RawDataViewTest, DisabledViewTakesNoInput)
{
    FillNumbered(50);
    view_.setEnabled(false);
    QSignalSpy clicked(&view_, &RawDataView::Clicked);
    QTest::keyClick(&view_, Qt::Key_End, Qt::ControlModifier);
    QTest::mouseClick(view_.viewport(), Qt::LeftButton, {}, PointOf(view_.LineIndex(2)));
    EXPECT_EQ(view_.SelStart(), 0);
    EXPECT_EQ(clicked.count(), 0);
    view_.activateWindow();
    view_.setFocus();
    EXPECT_FALSE(view_.hasFocus());
}

TEST_F(RawDataViewTest, FindTakesLatin1Text)
{
    Fill({ "N1*ST*caf\xE9", "FST*1" });
    EXPECT_EQ(view_.FindText(QStringLiteral("CAF\u00C9"), 0, 100, false, false), 6);
    EXPECT_EQ(view_.FindText(QStringLiteral("ST"), 4, 100, true, true), -1);
    EXPECT_EQ(view_.FindText(QStringLiteral("caf\u20AC"), 0, 100, false, false), -1)
        << "a character beyond Latin-1 is in no X12 file";
}

// Prints to a PDF and reads its text back with pdftotext.
TEST_F(RawDataViewTest, PrintsEveryCharacterPageAfterPageWrappingLongLines)
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    QByteArray longLine;
    for (int i = 0; i < 120; ++i)
        longLine += "E" + QByteArray::number(i).rightJustified(3, '0') + "*";
    QByteArrayList lines = { longLine };
    for (int i = 0; i < 150; ++i)
        lines.append("SEG" + QByteArray::number(i));
    Fill(lines);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("out.pdf")));
    // A rectangle well inside the printable area, so that the page cuts nothing off itself.
    const int u = printer.pageLayout().paintRectPixels(printer.resolution()).height() / 11;
    const int pages = view_.Print(printer, QRect(QPoint(u, u), QPoint(5 * u, 10 * u)));
    EXPECT_GE(pages, 2);

    QProcess process;
    process.start(
        pdftotext, { QStringLiteral("-layout"), printer.outputFileName(), QStringLiteral("-") });
    ASSERT_TRUE(process.waitForFinished(30000));
    const QByteArray text = process.readAllStandardOutput();
    EXPECT_EQ(text.count('\f'), pages);
    QByteArray joined = text;
    joined.replace('\n', "").replace('\f', "").replace(' ', "");
    EXPECT_TRUE(joined.startsWith(longLine))
        << "the long line is wrapped, nothing cut off: " << joined.left(600).constData();
    EXPECT_TRUE(joined.endsWith("SEG149"));
    EXPECT_GT(text.indexOf("E000*"), -1);
    EXPECT_GT(text.indexOf('\n'), text.indexOf("E000*"));
    EXPECT_LT(text.indexOf('\n'), text.indexOf("E119*")) << "the long line takes several rows";
}

} // namespace
