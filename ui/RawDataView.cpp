#include "RawDataView.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>

#include <climits>
#include <cmath>

namespace {

// Advances that add up exactly: no kerning and no shaping, so that the sum of the characters'
// widths is where the next one is drawn.
QFont PlainFont(QFont font)
{
    font.setKerning(false);
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

// The character drawn for each byte: its display character, or for a control byte whose
// symbol the font lacks, an arrow or mark that the font has.
std::array<QChar, 256> Glyphs(const QFontMetricsF &metrics)
{
    std::array<QChar, 256> glyphs {};
    for (int b = 0; b < 256; ++b) {
        const QChar shown = RawDataModel::DisplayChar(uchar(b));
        QChar fallbacks[] = { shown, QChar(u'\u25E6'), QChar(QChar::ReplacementCharacter) };
        if (b == '\r')
            fallbacks[1] = QChar(u'\u21B5');
        else if (b == '\n')
            fallbacks[1] = QChar(u'\u2193');
        else if (b == '\t')
            fallbacks[1] = QChar(u'\u2192');
        glyphs[size_t(b)] = shown;
        for (const QChar c : fallbacks) {
            if (metrics.inFont(c)) {
                glyphs[size_t(b)] = c;
                break;
            }
        }
    }
    return glyphs;
}

std::array<qreal, 256> Advances(const QFontMetricsF &metrics, const std::array<QChar, 256> &glyphs)
{
    std::array<qreal, 256> advances {};
    for (size_t b = 0; b < 256; ++b)
        advances[b] = metrics.horizontalAdvance(glyphs[b]);
    return advances;
}

} // namespace

RawDataView::RawDataView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    UpdateMetrics();
}

void RawDataView::SetSource(LineSource *source)
{
    ChangeSelection([&] { model_.SetSource(source); });
    measuredLongest_ = -1;
    MeasureLongestLine();
    ShowFromTheTop();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::VisibleDataChanged);
        QAccessible::updateAccessibility(&event);
    }
}

void RawDataView::LinesAdded()
{
    MeasureLongestLine();
    UpdateScrollBars();
    viewport()->update();
}

void RawDataView::ShowFromTheTop()
{
    topLine_ = 0;
    UpdateScrollBars();
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

// Runs a change of the model and reports it when the selection or the caret moved.
template<class Change>
void RawDataView::ChangeSelection(Change change)
{
    const qint64 anchor = model_.Anchor();
    const qint64 caret = model_.Caret();
    change();
    if (anchor == model_.Anchor() && caret == model_.Caret())
        return;
    viewport()->update();
    if (QAccessible::isActive()) {
        const auto offset = [](qint64 p) { return int(qMin(p, qint64(INT_MAX))); };
        QAccessibleTextCursorEvent cursor(this, offset(model_.Caret()));
        QAccessible::updateAccessibility(&cursor);
        QAccessibleTextSelectionEvent selection(
            this, offset(model_.SelStart()), offset(model_.SelEnd()));
        QAccessible::updateAccessibility(&selection);
    }
    emit SelectionChanged();
}

void RawDataView::SetSelStart(qint64 position)
{
    ChangeSelection([&] { model_.SetSelStart(position); });
}

void RawDataView::SetSelLength(qint64 length)
{
    ChangeSelection([&] { model_.SetSelLength(length); });
    ScrollCaret();
}

TextPoint RawDataView::CaretPos() const
{
    const qint64 end = model_.SelEnd();
    const qint64 line = model_.LineFromChar(end);
    return { end - model_.LineIndex(line), LineNumber(line) };
}

void RawDataView::SetCaretPos(qint64 column, LineNumber line)
{
    ChangeSelection([&] { model_.SetCaretPos(column, line.Value); });
}

void RawDataView::SelectAll()
{
    ChangeSelection([&] { model_.SelectAll(); });
}

qint64 RawDataView::FindText(
    const QString &text, qint64 start, qint64 length, bool matchCase, bool wholeWord) const
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return -1;
    }
    const QByteArray bytes = text.toLatin1();
    return model_.FindText(bytes, start, length, matchCase, wholeWord);
}

QSize RawDataView::ViewportSizeFor(int columns, int lines) const
{
    const double width = Margin + std::ceil(columns * advances_['0']) + CaretWidth + Margin;
    return QSize(int(qMin(width, double(INT_MAX / 2))), lines * lineHeight_);
}

qint64 RawDataView::PageLines() const
{
    return qMax(1, viewport()->height() / lineHeight_);
}

void RawDataView::UpdateMetrics()
{
    paintFont_ = PlainFont(font());
    const QFontMetricsF metrics(paintFont_);
    glyphs_ = Glyphs(metrics);
    advances_ = Advances(metrics, glyphs_);
    maxAdvance_ = 1;
    for (const qreal a : advances_)
        maxAdvance_ = qMax(maxAdvance_, a);
    uniformAdvance_ = advances_[0];
    for (const qreal a : advances_) {
        if (std::abs(a - uniformAdvance_) > 1e-6)
            uniformAdvance_ = 0;
    }
    measuredLongest_ = -1;
    lineHeight_ = qMax(1, int(std::ceil(metrics.lineSpacing())));
    ascent_ = int(std::ceil(metrics.ascent()));
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(qMax(1, int(metrics.averageCharWidth())));
    MeasureLongestLine();
    UpdateScrollBars();
}

void RawDataView::MeasureLongestLine()
{
    const qint64 longest = model_.LongestLineNumber();
    if (longest == measuredLongest_)
        return;
    measuredLongest_ = longest;
    longestWidth_ = XOf(longest, model_.LineLength(longest));
}

void RawDataView::UpdateScrollBars()
{
    const qint64 maxTop = qMax(qint64(0), model_.LineCount() - PageLines());
    topLine_ = qBound(qint64(0), topLine_, maxTop);
    settingScrollBar_ = true;
    QScrollBar *vertical = verticalScrollBar();
    vertical->setRange(0, int(qMin(maxTop, qint64(INT_MAX))));
    vertical->setPageStep(int(PageLines()));
    vertical->setValue(ScrollValue(topLine_, maxTop));

    // The range ends where the caret after the longest line's last character is in view.
    const double width = Margin + std::ceil(longestWidth_) + CaretWidth + Margin;
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, int(qBound(0.0, width - viewport()->width(), double(INT_MAX))));
    horizontal->setPageStep(qMax(1, viewport()->width()));
    settingScrollBar_ = false;
}

int RawDataView::ScrollValue(qint64 topLine, qint64 maxTop)
{
    if (maxTop <= INT_MAX)
        return int(topLine);
    return int(
        qBound(0.0, std::round(double(topLine) * INT_MAX / double(maxTop)), double(INT_MAX)));
}

qint64 RawDataView::TopLineForValue(int value, qint64 maxTop)
{
    if (maxTop <= INT_MAX)
        return value;
    const double line = std::round(double(value) * double(maxTop) / INT_MAX);
    return qBound(qint64(0), qint64(line), maxTop);
}

void RawDataView::SetTopLine(qint64 line)
{
    const qint64 maxTop = qMax(qint64(0), model_.LineCount() - PageLines());
    const qint64 top = qBound(qint64(0), line, maxTop);
    if (top == topLine_)
        return;
    topLine_ = top;
    UpdateScrollBars();
    viewport()->update();
}

void RawDataView::scrollContentsBy(int, int dy)
{
    // Only a vertical move changes the top line: the bar's value stands for it only roughly in
    // a text of more lines than the bar counts.
    if (dy != 0 && !settingScrollBar_) {
        const qint64 maxTop = qMax(qint64(0), model_.LineCount() - PageLines());
        topLine_ = TopLineForValue(verticalScrollBar()->value(), maxTop);
    }
    viewport()->update();
}

void RawDataView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

void RawDataView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        UpdateMetrics();
    QAbstractScrollArea::changeEvent(event);
}

qreal RawDataView::XOf(qint64 line, qint64 column) const
{
    column = qBound(qint64(0), column, model_.LineLength(line));
    if (uniformAdvance_ > 0)
        return column * uniformAdvance_;
    return ColumnX(model_.Line(line, 0, column), column);
}

qint64 RawDataView::ColumnAt(qint64 line, qreal x) const
{
    if (uniformAdvance_ > 0)
        return qBound(
            qint64(0), qint64(std::floor(x / uniformAdvance_ + 0.5)), model_.LineLength(line));
    return ColumnAtX(model_.Line(line), x);
}

qreal RawDataView::ColumnX(QByteArrayView line, qint64 column) const
{
    qreal x = 0;
    const qint64 end = qMin(column, qint64(line.size()));
    for (qint64 i = 0; i < end; ++i)
        x += advances_[uchar(line[i])];
    return x;
}

qint64 RawDataView::ColumnAtX(QByteArrayView line, qreal x) const
{
    qreal left = 0;
    for (qint64 i = 0; i < line.size(); ++i) {
        const qreal advance = advances_[uchar(line[i])];
        if (x < left + advance / 2)
            return i;
        left += advance;
    }
    return line.size();
}

QString RawDataView::DisplayText(QByteArrayView bytes) const
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (const char b : bytes)
        *out++ = glyphs_[uchar(b)];
    return text;
}

void RawDataView::ScrollCaret()
{
    const qint64 caret = model_.Caret();
    const qint64 line = model_.LineFromChar(caret);
    if (line < topLine_)
        SetTopLine(line);
    else if (line >= topLine_ + PageLines())
        SetTopLine(line - PageLines() + 1);

    const qreal x = Margin + XOf(line, caret - model_.LineIndex(line));
    QScrollBar *horizontal = horizontalScrollBar();
    const int width = viewport()->width();
    if (x < horizontal->value())
        horizontal->setValue(int(qMax(0.0, x - width / 4.0)));
    else if (x + CaretWidth > horizontal->value() + width)
        horizontal->setValue(int(qMin(x - width * 3 / 4.0, double(INT_MAX))));
}

QRect RawDataView::CharacterRect(qint64 position) const
{
    const qint64 line = model_.LineFromChar(position);
    const qint64 column = position - model_.LineIndex(line);
    const QByteArray character = model_.Line(line, column, 1);
    const qreal x = Margin + XOf(line, column) - horizontalScrollBar()->value();
    const qreal width = character.isEmpty() ? maxAdvance_ / 2 : advances_[uchar(character[0])];
    const qint64 y = (line - topLine_) * lineHeight_;
    return QRect(int(x), int(qBound(qint64(INT_MIN / 2), y, qint64(INT_MAX / 2))),
        qMax(1, int(std::ceil(width))), lineHeight_);
}

qint64 RawDataView::PositionAt(const QPoint &point) const
{
    const qint64 row = point.y() < 0 ? -1 : point.y() / lineHeight_;
    const qint64 line = qBound(qint64(0), topLine_ + row, model_.LineCount() - 1);
    const qreal x = point.x() + horizontalScrollBar()->value() - Margin;
    return model_.LineIndex(line) + ColumnAt(line, x);
}

void RawDataView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), palette().base());
    painter.setFont(paintFont_);
    const qint64 last = qMin(model_.LineCount(), topLine_ + PageLines() + 1);
    for (qint64 line = topLine_; line < last; ++line)
        PaintLine(painter, line, int(line - topLine_) * lineHeight_);

    if (hasFocus() && isEnabled()) {
        const QRect caret = CharacterRect(model_.Caret());
        painter.fillRect(
            QRect(caret.left(), caret.top(), CaretWidth, lineHeight_), palette().text());
    }
}

// Draws the part of one line that is in view, with its selected part highlighted.
void RawDataView::PaintLine(QPainter &painter, qint64 line, int y)
{
    const qint64 length = model_.LineLength(line);
    const qreal offset = horizontalScrollBar()->value() - Margin;
    const qreal right = offset + viewport()->width();

    // The visible bytes [first, end) and where the first of them starts: with characters all
    // as wide only they are read, else the line up to them.
    qint64 first = 0;
    qreal x = 0;
    QByteArray bytes;
    if (uniformAdvance_ > 0) {
        first = qBound(qint64(0), qint64(std::floor(offset / uniformAdvance_)), length);
        x = first * uniformAdvance_;
        const qint64 end = qBound(first, qint64(std::ceil(right / uniformAdvance_)) + 1, length);
        bytes = model_.Line(line, first, end - first);
    } else {
        const QByteArray whole = model_.Line(line);
        while (first < whole.size() && x + advances_[uchar(whole[first])] <= offset)
            x += advances_[uchar(whole[first++])];
        qint64 end = first;
        qreal endX = x;
        while (end < whole.size() && endX < right)
            endX += advances_[uchar(whole[end++])];
        bytes = whole.mid(first, end - first);
    }
    const qint64 end = first + bytes.size();
    const QString text = DisplayText(bytes);
    const QPointF origin(x - offset, y + ascent_);
    painter.setPen(palette().text().color());
    painter.drawText(origin, text);

    // The selection within this line; a selected line break shows as a small block.
    const qint64 lineStart = model_.LineIndex(line);
    const qint64 from = qMax(model_.SelStart(), lineStart) - lineStart;
    const qint64 to = qMin(model_.SelEnd(), lineStart + length + 1) - lineStart;
    if (from >= to)
        return;
    // Only the band's visible part is drawn, so its ends are measured over the visible bytes.
    const qint64 bandFrom = qBound(first, from, end);
    const qint64 bandTo = qBound(first, to, end);
    qreal fromX = x;
    qint64 i = first;
    for (; i < bandFrom; ++i)
        fromX += advances_[uchar(bytes[i - first])];
    qreal toX = fromX;
    for (; i < bandTo; ++i)
        toX += advances_[uchar(bytes[i - first])];
    if (to > length && end == length)
        toX += maxAdvance_ / 2;
    const QRectF band(fromX - offset, y, toX - fromX, lineHeight_);
    painter.fillRect(band, palette().highlight());
    painter.save();
    painter.setClipRect(band);
    painter.setPen(palette().highlightedText().color());
    painter.drawText(origin, text);
    painter.restore();
}

void RawDataView::keyPressEvent(QKeyEvent *event)
{
    using Move = RawDataModel::Move;
    const bool control = event->modifiers() & Qt::ControlModifier;
    Move move;
    switch (event->key()) {
    case Qt::Key_Left:
        move = Move::Left;
        break;
    case Qt::Key_Right:
        move = Move::Right;
        break;
    case Qt::Key_Up:
        move = Move::Up;
        break;
    case Qt::Key_Down:
        move = Move::Down;
        break;
    case Qt::Key_PageUp:
        move = Move::PageUp;
        break;
    case Qt::Key_PageDown:
        move = Move::PageDown;
        break;
    case Qt::Key_Home:
        move = control ? Move::TextStart : Move::Home;
        break;
    case Qt::Key_End:
        move = control ? Move::TextEnd : Move::End;
        break;
    default:
        event->ignore();
        return;
    }
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const qint64 pageLines = PageLines();
    ChangeSelection([&] { model_.MoveCaret(move, pageLines, extend); });
    // A page move scrolls the view by a page as well, as far as the text allows.
    if (move == Move::PageDown || move == Move::PageUp)
        SetTopLine(topLine_ + (move == Move::PageDown ? pageLines : -pageLines));
    ScrollCaret();
    viewport()->update();
}

void RawDataView::keyReleaseEvent(QKeyEvent *event)
{
    QAbstractScrollArea::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit KeyReleased(event->key(), event->modifiers());
}

void RawDataView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    mousePressed_ = true;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    const qint64 position = PositionAt(event->position().toPoint());
    ChangeSelection([&] { model_.SetCaret(position, extend); });
    viewport()->update();
}

void RawDataView::mouseMoveEvent(QMouseEvent *event)
{
    if (!mousePressed_)
        return;
    const qint64 position = PositionAt(event->position().toPoint());
    ChangeSelection([&] { model_.SetCaret(position, true); });
    ScrollCaret();
}

void RawDataView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !mousePressed_) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    mousePressed_ = false;
    emit Clicked();
}

qint64 RawDataView::PrintPages(
    const QPrinter &printer, const QRect &pageRect, qint64 first, qint64 last) const
{
    const QFontMetricsF metrics(QFont(paintFont_, &printer), &printer);
    const qint64 rowsPerPage = qMax(1, int(pageRect.height() / metrics.lineSpacing()));
    return (qMax(qint64(0), last - first + 1) + rowsPerPage - 1) / rowsPerPage;
}

int RawDataView::Print(QPrinter &printer, const QRect &pageRect, qint64 first, qint64 last)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return 0;
    const QFont font(paintFont_, &printer);
    painter.setFont(font);
    const QFontMetricsF metrics(font, &printer);
    const std::array<qreal, 256> advances = Advances(metrics, glyphs_);
    const qreal rowHeight = metrics.lineSpacing();
    const int rowsPerPage = qMax(1, int(pageRect.height() / rowHeight));
    const qreal width = pageRect.width();

    int pages = 1;
    int row = 0;
    const auto printRow = [&](QByteArrayView bytes) {
        if (row == rowsPerPage) {
            printer.newPage();
            ++pages;
            row = 0;
        }
        painter.drawText(
            QPointF(pageRect.left(), pageRect.top() + row * rowHeight + metrics.ascent()),
            DisplayText(bytes));
        ++row;
    };
    // The empty line after the last break is no content of its own.
    const qint64 lines = model_.LineCount() - (model_.LineLength(model_.LineCount() - 1) == 0);
    if (last < 0 || last >= lines)
        last = lines - 1;
    for (qint64 line = qMax(qint64(0), first); line <= last; ++line) {
        const QByteArray bytes = model_.Line(line);
        // Wrap where the next character would pass the right edge; a row holds at least one.
        qint64 start = 0;
        do {
            qint64 end = start;
            qreal x = 0;
            while (end < bytes.size() && (end == start || x + advances[uchar(bytes[end])] <= width))
                x += advances[uchar(bytes[end++])];
            printRow(QByteArrayView(bytes).sliced(start, end - start));
            start = end;
        } while (start < bytes.size());
    }
    painter.end();
    return pages;
}
