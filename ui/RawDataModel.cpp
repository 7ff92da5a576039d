#include "RawDataModel.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

struct ByteTables
{
    std::array<uchar, 256> fold {}; // Latin-1 letters to lower case
    std::array<bool, 256> word {};
};

const ByteTables &Tables()
{
    static const ByteTables tables = [] {
        ByteTables t;
        for (int b = 0; b < 256; ++b) {
            const char16_t lower = QChar(char16_t(b)).toLower().unicode();
            t.fold[size_t(b)] = lower <= 0xFF ? uchar(lower) : uchar(b);
            t.word[size_t(b)] = QChar(char16_t(b)).isLetterOrNumber() || b == '_';
        }
        return t;
    }();
    return tables;
}

} // namespace

RawDataModel::RawDataModel()
{
    Clear();
}

void RawDataModel::BeginLoad(qint64 expectedBytes, qint64 expectedLines)
{
    Clear();
    lineStarts_ = LargeBuffer<qint64>();
    text_.Reserve(qMax(qint64(0), expectedBytes));
    lineStarts_.Reserve(qMax(qint64(0), expectedLines) + 1);
}

void RawDataModel::AppendLine(QByteArrayView line)
{
    if (line.size() > longestLine_) {
        longestLine_ = line.size();
        longestLineNumber_ = lineStarts_.Size();
    }
    lineStarts_.Append(text_.Size());
    text_.Append(line.data(), line.size());
    text_.Append('\n');
}

void RawDataModel::EndLoad()
{
    lineStarts_.Append(text_.Size());
}

void RawDataModel::Clear()
{
    text_ = LargeBuffer<char>();
    lineStarts_ = LargeBuffer<qint64>();
    lineStarts_.Append(0);
    longestLine_ = 0;
    longestLineNumber_ = 0;
    anchor_ = caret_ = 0;
    column_ = -1;
}

qint64 RawDataModel::LineFromChar(qint64 position) const
{
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), Clamp(position));
    return qint64(after - lineStarts_.begin()) - 1;
}

qint64 RawDataModel::LineIndex(qint64 line) const
{
    if (line < 0 || line >= LineCount())
        return -1;
    return lineStarts_[line];
}

qint64 RawDataModel::LineLength(qint64 line) const
{
    if (line < 0 || line >= LineCount())
        return 0;
    if (line + 1 == LineCount())
        return TextLength() - lineStarts_[line];
    return lineStarts_[line + 1] - lineStarts_[line] - 1;
}

QByteArrayView RawDataModel::Line(qint64 line) const
{
    if (line < 0 || line >= LineCount())
        return {};
    return QByteArrayView(text_.Data() + lineStarts_[line], LineLength(line));
}

QByteArray RawDataModel::GetLine(qint64 line, qint64 maxLength) const
{
    const QByteArrayView bytes = Line(line);
    return bytes.first(qBound(qint64(0), maxLength, qint64(bytes.size()))).toByteArray();
}

void RawDataModel::SetSelStart(qint64 position)
{
    SetCaret(position, false);
}

void RawDataModel::SetSelLength(qint64 length)
{
    const qint64 start = SelStart();
    anchor_ = start;
    caret_ = Clamp(start + qMax(qint64(0), qMin(length, TextLength())));
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

QByteArrayView RawDataModel::Selection() const
{
    return Text().sliced(SelStart(), SelLength());
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
    return Tables().word[byte];
}

bool RawDataModel::IsWordAt(qint64 position) const
{
    return position >= 0 && position < TextLength() && IsWordChar(uchar(text_[position]));
}

qint64 RawDataModel::FindText(
    QByteArrayView text, qint64 start, qint64 length, bool matchCase, bool wholeWord) const
{
    const qint64 n = text.size();
    if (n == 0 || start < 0 || start > TextLength() || length < 0)
        return -1;
    const qint64 end = length > TextLength() - start ? TextLength() : start + length;
    const char *bytes = text_.Data();
    const auto &fold = Tables().fold;
    const auto matchesAt = [&](qint64 p) {
        if (matchCase)
            return std::memcmp(bytes + p, text.data(), size_t(n)) == 0;
        for (qint64 k = 0; k < n; ++k) {
            if (fold[uchar(bytes[p + k])] != fold[uchar(text[k])])
                return false;
        }
        return true;
    };
    const uchar first = fold[uchar(text[0])];
    for (qint64 p = start; p + n <= end; ++p) {
        if (matchCase) {
            // memchr finds the next candidate far faster than a byte loop.
            const void *hit = std::memchr(bytes + p, text[0], size_t(end - n + 1 - p));
            if (!hit)
                return -1;
            p = static_cast<const char *>(hit) - bytes;
        } else if (fold[uchar(bytes[p])] != first) {
            continue;
        }
        if (matchesAt(p) && (!wholeWord || (!IsWordAt(p - 1) && !IsWordAt(p + n))))
            return p;
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
