#include "SegmentTypeSearch.h"

#include "LineSource.h"

#include <QByteArray>

#include <algorithm>
#include <array>

namespace SegmentTypeSearch {

namespace {

// Segment ids are short; a longer first element is no id that a search asks for.
constexpr qsizetype HeadLength = 80;

// The id of a line's segment, read into a buffer of the caller's.
QByteArrayView IdOf(LineSource &lines, qint64 line, std::array<char, HeadLength> &buffer)
{
    const qsizetype length = lines.LineHead(line, buffer.data(), HeadLength);
    return SegmentId(QByteArrayView(buffer.data(), length), lines.LineDelimiters(line).Element);
}

bool IdIs(QByteArrayView id, QStringView type)
{
    if (id.size() != type.size())
        return false;
    for (qsizetype i = 0; i < id.size(); ++i) {
        if (type[i].unicode() != uchar(id[i]))
            return false;
    }
    return true;
}

SegmentSearchResult FoundAt(qint64 line)
{
    return { SegmentSearchResult::Outcome::Found, LineNumber(line).Segment() };
}

// From the caret's segment, steps one segment at a time in direction (+1 or -1) until a
// segment of the same type, never past the last segment or below the first; if none is met,
// the segment the walk stops on is compared once more, so that a step from the last segment
// finds that segment itself.
SegmentSearchResult StepToSameType(LineSource &lines, LineNumber caretLine, int direction)
{
    const qint64 count = lines.LineCount();
    if (count == 0)
        return {};
    qint64 line = std::clamp<qint64>(caretLine.Value, 0, count - 1);
    std::array<char, HeadLength> buffer {};
    const QByteArray type = IdOf(lines, line, buffer).toByteArray();
    const auto canStep = [&] { return direction > 0 ? line < count - 1 : line > 0; };
    bool found = false;
    while (!found && canStep()) {
        line += direction;
        found = IdOf(lines, line, buffer) == type;
    }
    if (!found)
        found = IdOf(lines, line, buffer) == type;
    return found ? FoundAt(line) : SegmentSearchResult {};
}

} // namespace

QByteArrayView SegmentId(QByteArrayView segmentText, char elementSeparator)
{
    const qsizetype end = segmentText.indexOf(elementSeparator);
    return end < 0 ? segmentText : segmentText.first(end);
}

SegmentSearchResult FindNthOfType(LineSource &lines, QStringView type, qint64 n)
{
    const qint64 count = lines.LineCount();
    std::array<char, HeadLength> buffer {};
    qint64 matches = 0;
    for (qint64 line = 0; line < count; ++line) {
        if (IdIs(IdOf(lines, line, buffer), type) && ++matches == n)
            return FoundAt(line);
    }
    return {};
}

SegmentSearchResult FindNextOfType(LineSource &lines, LineNumber caretLine)
{
    return StepToSameType(lines, caretLine, +1);
}

SegmentSearchResult FindPreviousOfType(LineSource &lines, LineNumber caretLine)
{
    if (caretLine.Value == 0)
        return { SegmentSearchResult::Outcome::NotSearched, SegmentNumber() };
    return StepToSameType(lines, caretLine, -1);
}

} // namespace SegmentTypeSearch
