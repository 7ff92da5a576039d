#pragma once

#include "LineNumber.h"
#include "RawDataModel.h"

#include <QAbstractScrollArea>
#include <QFont>

#include <array>

class QPainter;
class QPrinter;

// A line and a column of the raw data view, both from 0.
struct TextPoint
{
    qint64 Column = 0;
    LineNumber Line;
};

// The read-only raw data view: shows its model's lines, paints only those in view, and offers
// the positions, selection, find and print operations the main window works with.
//
// Painting, scrolling and caret moves cost the same on ten lines and on fifty million. The
// vertical scroll bar counts lines (scaled when there are more than it can count), the
// horizontal one pixels of the longest line.
class RawDataView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit RawDataView(QWidget *parent = nullptr);

    const RawDataModel &Model() const { return model_; }

    // The lines shown (not owned), from the top, the caret at the start; none shows one empty
    // line. LinesAdded tells the view that the source has more lines than before.
    void SetSource(LineSource *source);
    void LinesAdded();
    void Clear() { SetSource(nullptr); }

    qint64 SelStart() const { return model_.SelStart(); }
    qint64 SelLength() const { return model_.SelLength(); }
    void SetSelStart(qint64 position);
    // Selects length characters from the selection's start and scrolls the caret into view.
    void SetSelLength(qint64 length);
    QByteArray SelectedText() const { return model_.SelectedText(); }
    // Column and line of the selection's end.
    TextPoint CaretPos() const;
    void SetCaretPos(qint64 column, LineNumber line);
    qint64 LineFromChar(qint64 position) const { return model_.LineFromChar(position); }
    qint64 LineIndex(qint64 line) const { return model_.LineIndex(line); }
    QByteArray GetLine(qint64 line, qint64 maxLength) const
    {
        return model_.GetLine(line, maxLength);
    }
    void ScrollCaret();
    void SelectAll();
    qint64 TextLength() const { return model_.TextLength(); }
    // Finds text (Latin-1; other characters never match) as RawDataModel::FindText does.
    qint64 FindText(
        const QString &text, qint64 start, qint64 length, bool matchCase, bool wholeWord) const;

    // Prints lines first to last (from 0, the last included) into pageRect (printer pixels),
    // page after page, wrapping lines wider than the rectangle; by default the whole text.
    // Returns the number of pages.
    int Print(QPrinter &printer, const QRect &pageRect, qint64 first = 0, qint64 last = -1);
    // About how many pages Print would give for lines first to last, not counting wrapped ones.
    qint64 PrintPages(
        const QPrinter &printer, const QRect &pageRect, qint64 first, qint64 last) const;

    // The viewport size that shows lines whole lines of columns characters each ('0' standing
    // for a character), the caret after them included.
    QSize ViewportSizeFor(int columns, int lines) const;
    // The first line in view, and how many lines a page holds.
    qint64 TopLine() const { return topLine_; }
    qint64 PageLines() const;
    // The vertical scroll bar's value for a top line, and back: the line itself while the
    // highest top line (maxTop) fits the bar's int range, scaled to that range beyond it.
    static int ScrollValue(qint64 topLine, qint64 maxTop);
    static qint64 TopLineForValue(int value, qint64 maxTop);
    // Screen geometry of a character position, and the position nearest a viewport point.
    QRect CharacterRect(qint64 position) const;
    qint64 PositionAt(const QPoint &point) const;

signals:
    // The left mouse button was released after being pressed in the view.
    void Clicked();
    void KeyReleased(int key, Qt::KeyboardModifiers modifiers);
    void SelectionChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    static constexpr int Margin = 2;
    static constexpr int CaretWidth = 1;

    template<class Change>
    void ChangeSelection(Change change);
    void UpdateMetrics();
    // The longest line's width in the view's font, which ends the horizontal range.
    void MeasureLongestLine();
    void UpdateScrollBars();
    // The first line at the top, scrolled fully left, repainted.
    void ShowFromTheTop();
    void SetTopLine(qint64 line);
    // Pixel offset of column within line, from the line's start, and the column boundary
    // nearest x. With a font whose characters are all as wide, they read no bytes of the line.
    qreal XOf(qint64 line, qint64 column) const;
    qint64 ColumnAt(qint64 line, qreal x) const;
    qreal ColumnX(QByteArrayView line, qint64 column) const;
    qint64 ColumnAtX(QByteArrayView line, qreal x) const;
    void PaintLine(QPainter &painter, qint64 line, int y);
    QString DisplayText(QByteArrayView bytes) const;

    RawDataModel model_;
    QFont paintFont_;
    std::array<QChar, 256> glyphs_ {}; // what each byte is drawn as, in the view's font
    std::array<qreal, 256> advances_ {};
    qreal maxAdvance_ = 1;
    qreal uniformAdvance_ = 0; // every byte's advance, when all are the same; 0 otherwise
    qint64 measuredLongest_ = -1; // the line longestWidth_ was measured for
    qreal longestWidth_ = 0;
    int lineHeight_ = 1;
    int ascent_ = 0;
    qint64 topLine_ = 0;
    bool settingScrollBar_ = false;
    bool mousePressed_ = false;
};
