#include "RawDataAccessible.h"

#include "RawDataView.h"

#include <QScrollBar>

#include <climits>

namespace {

QAccessibleInterface *Factory(const QString &className, QObject *object)
{
    if (className == QLatin1String("RawDataView") && object && object->isWidgetType())
        return new RawDataAccessible(static_cast<RawDataView *>(object));
    return nullptr;
}

int Offset(qint64 position)
{
    return int(qMin(position, qint64(INT_MAX)));
}

} // namespace

RawDataAccessible::RawDataAccessible(RawDataView *view)
    : QAccessibleWidget(view, QAccessible::EditableText)
{ }

void RawDataAccessible::Install()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(Factory);
    installed = true;
}

RawDataView *RawDataAccessible::View() const
{
    return static_cast<RawDataView *>(widget());
}

void *RawDataAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State RawDataAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString RawDataAccessible::text(QAccessible::Text type) const
{
    // The value is the caret's line: the whole text could be gigabytes.
    if (type == QAccessible::Value) {
        const RawDataModel &model = View()->Model();
        const qint64 line = model.LineFromChar(model.Caret());
        const qint64 start = model.LineIndex(line);
        return Range(start, start + model.LineLength(line), nullptr, nullptr);
    }
    return QAccessibleWidget::text(type);
}

void RawDataAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const RawDataModel &model = View()->Model();
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && model.SelLength() > 0) {
        *startOffset = Offset(model.SelStart());
        *endOffset = Offset(model.SelEnd());
    }
}

int RawDataAccessible::selectionCount() const
{
    return View()->SelLength() > 0 ? 1 : 0;
}

void RawDataAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void RawDataAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        View()->SetSelStart(View()->Model().Caret());
}

void RawDataAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    View()->SetSelStart(qMin(startOffset, endOffset));
    View()->SetSelLength(qAbs(endOffset - startOffset));
}

int RawDataAccessible::cursorPosition() const
{
    return Offset(View()->Model().Caret());
}

void RawDataAccessible::setCursorPosition(int position)
{
    View()->SetSelStart(position);
    View()->ScrollCaret();
}

QString RawDataAccessible::Range(qint64 start, qint64 end, int *startOffset, int *endOffset) const
{
    const RawDataModel &model = View()->Model();
    start = qBound(qint64(0), start, qint64(characterCount()));
    end = qBound(start, end, qint64(characterCount()));
    if (startOffset)
        *startOffset = int(start);
    if (endOffset)
        *endOffset = int(end);
    // The view's own line breaks stay breaks; a break byte inside a line is read as the symbol
    // the view shows for it.
    QString text;
    text.reserve(end - start);
    qint64 line = model.LineFromChar(start);
    qint64 position = start;
    while (position < end) {
        const qint64 lineStart = model.LineIndex(line);
        const qint64 lineEnd = lineStart + model.LineLength(line);
        const QByteArray bytes
            = model.Line(line, position - lineStart, qMin(end, lineEnd) - position);
        for (const char b : bytes)
            text += RawDataModel::DisplayChar(uchar(b));
        position += bytes.size();
        if (position < end) {
            text += QChar(u'\n');
            ++position;
        }
        ++line;
    }
    return text;
}

QString RawDataAccessible::text(int startOffset, int endOffset) const
{
    return Range(startOffset, endOffset, nullptr, nullptr);
}

void RawDataAccessible::Bounds(
    qint64 offset, QAccessible::TextBoundaryType type, qint64 &start, qint64 &end) const
{
    const RawDataModel &model = View()->Model();
    const qint64 length = characterCount();
    switch (type) {
    case QAccessible::CharBoundary:
        start = offset;
        end = qMin(offset + 1, length);
        return;
    case QAccessible::WordBoundary: {
        // Words end at line breaks: only the offset's line is read.
        const qint64 line = model.LineFromChar(offset);
        const qint64 lineStart = model.LineIndex(line);
        const QByteArray bytes = model.Line(line);
        start = end = offset;
        const auto isWord = [&](qint64 p) {
            return p >= lineStart && p < lineStart + bytes.size()
                && RawDataModel::IsWordChar(uchar(bytes[p - lineStart]));
        };
        if (!isWord(offset)) {
            end = qMin(offset + 1, length);
            return;
        }
        while (isWord(start - 1))
            --start;
        while (isWord(end))
            ++end;
        return;
    }
    case QAccessible::SentenceBoundary:
    case QAccessible::ParagraphBoundary:
    case QAccessible::LineBoundary: {
        // A line with its break, as readers expect.
        const qint64 line = model.LineFromChar(offset);
        start = model.LineIndex(line);
        end = qMin(start + model.LineLength(line) + 1, length);
        return;
    }
    case QAccessible::NoBoundary:
        start = 0;
        end = length;
        return;
    }
}

QString RawDataAccessible::textAtOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return {};
    qint64 start = 0;
    qint64 end = 0;
    Bounds(offset, boundaryType, start, end);
    return Range(start, end, startOffset, endOffset);
}

QString RawDataAccessible::textBeforeOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset <= 0 || offset > characterCount())
        return {};
    qint64 start = 0;
    qint64 end = 0;
    Bounds(offset, boundaryType, start, end);
    if (start == 0)
        return {};
    Bounds(start - 1, boundaryType, start, end);
    return Range(start, end, startOffset, endOffset);
}

QString RawDataAccessible::textAfterOffset(
    int offset, QAccessible::TextBoundaryType boundaryType, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset >= characterCount())
        return {};
    qint64 start = 0;
    qint64 end = 0;
    Bounds(offset, boundaryType, start, end);
    if (end >= characterCount())
        return {};
    Bounds(end, boundaryType, start, end);
    return Range(start, end, startOffset, endOffset);
}

int RawDataAccessible::characterCount() const
{
    return Offset(View()->TextLength());
}

QRect RawDataAccessible::characterRect(int offset) const
{
    const QRect local = View()->CharacterRect(offset);
    const QWidget *viewport = View()->viewport();
    return QRect(viewport->mapToGlobal(local.topLeft()), local.size());
}

int RawDataAccessible::offsetAtPoint(const QPoint &point) const
{
    const QWidget *viewport = View()->viewport();
    const QPoint local = viewport->mapFromGlobal(point);
    if (!viewport->rect().contains(local))
        return -1;
    return Offset(View()->PositionAt(local));
}

void RawDataAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    Q_UNUSED(endIndex);
    setCursorPosition(startIndex);
}

QString RawDataAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}
