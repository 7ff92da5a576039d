#include "RawDataModel.h"

#include "LineSource.h"
#include "TextMatch.h"

#include <algorithm>

void RawDataModel::SetSource(LineSource *source)
{
    source_ = source;
    anchor_ = caret_ = 0;
    column_ = -1;
}

qint64 RawDataModel::TextLength() const
{
    return source_ ? source_->LineStart(source_->LineCount()) : 0;
}

qint64 RawDataModel::LineCount() const
{
    return source_ ? source_->LineCount() + 1 : 1;
}

qint64 RawDataModel::LongestLineNumber() const
{
    return source_ ? qMax(qint64(0), source_->LongestLine()) : 0;
}

qint64 RawDataModel::LineFromChar(qint64 position) const
{
    return source_ ? source_->LineAt(Clamp(position)) : 0;
}

qint64 RawDataModel::LineIndex(qint64 line) const
{
    if (line < 0 || line >= LineCount())
        return -1;
    return source_ ? source_->LineStart(line) : 0;
}

qint64 RawDataModel::LineLength(qint64 line) const
{
    return source_ && line >= 0 && line < source_->LineCount() ? source_->LineLength(line) : 0;
}

QByteArray RawDataModel::Line(qint64 line, qint64 column, qint64 count) const
{
    if (!source_ || line < 0 || line >= source_->LineCount())
        return {};
    return source_->LineBytes(line, column, count);
}

QByteArray RawDataModel::GetLine(qint64 line, qint64 maxLength) const
{
    return Line(line, 0, qMax(qint64(0), maxLength));
}

QByteArray RawDataModel::TextRange(qint64 start, qint64 end, qint64 limit) const
{
    start = Clamp(start);
    end = qMin(Clamp(end), start + qMax(qint64(0), limit));
    QByteArray text;
    if (start >= end)
        return text;
    text.reserve(end - start);
    qint64 line = LineFromChar(start);
    qint64 column = start - LineIndex(line);
    qint64 position = start;
    while (position < end) {
        const qint64 length = LineLength(line);
        const qint64 take = qMin(length - column, end - position);
        if (take > 0) {
            text += source_->LineBytes(line, column, take);
            position += take;
        }
        if (position < end) {
            text += '\n';
            ++position;
        }
        ++line;
        column = 0;
    }
    return text;
}

void RawDataModel::SetSelStart(qint64 position)
{
    SetCaret(position, false);
}

void RawDataModel::SetSelLength(qint64 length)
{
    const qint64 start = SelStart();
    const qint64 textLength = TextLength();
    anchor_ = start;
    caret_ = qBound(qint64(0), start + qMax(qint64(0), qMin(length, textLength)), textLength);
    column_ = -1;
}

void RawDataModel::SetCaret(qint64 position, bool extend)
{
    caret_ = Clamp(position);
    if (!extend)
        anchor_ = caret_;
    column_ = -1;
}

void RawDataModel::SetCaretPos(qint64 column, qint64 line)
{
    const qint64 first = LineIndex(qBound(qint64(0), line, LineCount() - 1));
    SetCaret(first + qMax(qint64(0), column), false);
}

void RawDataModel::SelectAll()
{
    anchor_ = 0;
    caret_ = TextLength();
    column_ = -1;
}

void RawDataModel::MoveCaret(Move move, qint64 pageLines, bool extend)
{
    const qint64 line = LineFromChar(caret_);
    qint64 lines = 0;
    switch (move) {
    case Move::Left:
        SetCaret(!extend && SelLength() > 0 ? SelStart() : caret_ - 1, extend);
        return;
    case Move::Right:
        SetCaret(!extend && SelLength() > 0 ? SelEnd() : caret_ + 1, extend);
        return;
    case Move::Home:
        SetCaret(LineIndex(line), extend);
        return;
    case Move::End:
        SetCaret(LineIndex(line) + LineLength(line), extend);
        return;
    case Move::TextStart:
        SetCaret(0, extend);
        return;
    case Move::TextEnd:
        SetCaret(TextLength(), extend);
        return;
    case Move::Up:
        lines = -1;
        break;
    case Move::Down:
        lines = 1;
        break;
    case Move::PageUp:
        lines = -qMax(qint64(1), pageLines);
        break;
    case Move::PageDown:
        lines = qMax(qint64(1), pageLines);
        break;
    }
    const qint64 column = column_ >= 0 ? column_ : caret_ - LineIndex(line);
    const qint64 target = qBound(qint64(0), line + lines, LineCount() - 1);
    SetCaret(LineIndex(target) + qMin(column, LineLength(target)), extend);
    column_ = column;
}

bool RawDataModel::IsWordChar(uchar byte)
{
    return TextMatch::IsWordChar(byte);
}

qint64 RawDataModel::FindText(
    QByteArrayView text, qint64 start, qint64 length, bool matchCase, bool wholeWord) const
{
    const qint64 n = text.size();
    const qint64 textLength = TextLength();
    if (!source_ || n == 0 || start < 0 || start > textLength || length < 0)
        return -1;
    const qint64 end = length > textLength - start ? textLength : start + length;
    if (!text.contains('\n')) {
        if (const std::optional<qint64> found
            = source_->FindInLines(text, start, end, matchCase, wholeWord))
            return *found;
    }
    // The text in windows that overlap by the text's length, with a byte of context before
    // and after, which whole words need.
    constexpr qint64 Window = qint64(1) << 20;
    for (qint64 from = start; from + n <= end;) {
        const qint64 windowStart = qMax(qint64(0), from - 1);
        const qint64 windowEnd = qMin(textLength, from + Window + n);
        const QByteArray window = TextRange(windowStart, windowEnd, windowEnd - windowStart);
        // A match must leave the byte after it in the window, unless the text ends there.
        const qint64 searchEnd = qMin(end, windowEnd == textLength ? windowEnd : windowEnd - 1);
        const qint64 found = TextMatch::Find(
            window, text, from - windowStart, searchEnd - windowStart, matchCase, wholeWord);
        if (found >= 0)
            return windowStart + found;
        from = searchEnd - n + 1;
    }
    return -1;
}

QChar RawDataModel::DisplayChar(uchar byte)
{
    if (byte < 0x20)
        return QChar(char16_t(0x2400 + byte)); // the Control Pictures block: ␍, ␊, ␉ ...
    if (byte == 0x7F)
        return QChar(char16_t(0x2421));
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(QChar::ReplacementCharacter);
    return QChar(char16_t(byte));
}
