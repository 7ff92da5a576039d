#include "SegmentTypeSearch.h"

#include "GFileIO.h"

#include <QByteArray>

namespace SegmentTypeSearch {

namespace {

QByteArrayView CurrentId(const TGFile &reader)
{
    return SegmentId(reader.SegmentText(), reader.ElementSeparator());
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

SegmentSearchResult FoundAt(const TGFile &reader)
{
    return { SegmentSearchResult::Outcome::Found, reader.CurrentSegment() };
}

// From the caret's segment, steps one segment at a time in direction (+1 or -1) until a
// segment of the same type, never past the last segment or below the first; if none is met,
// the segment the reader stops on is compared once more, so that a step from the last segment
// finds that segment itself.
SegmentSearchResult StepToSameType(TGFile &reader, qint64 caretLine, int direction)
{
    const qint64 count = reader.SegmentCount();
    reader.GotoSegment(caretLine + 1);
    const QByteArray type = CurrentId(reader).toByteArray();
    const auto canStep = [&] {
        return direction > 0 ? reader.CurrentSegment() < count : reader.CurrentSegment() > 1;
    };
    bool found = false;
    while (!found && canStep()) {
        reader.GotoSegment(reader.CurrentSegment() + direction);
        found = CurrentId(reader) == type;
    }
    if (!found)
        found = CurrentId(reader) == type;
    return found ? FoundAt(reader) : SegmentSearchResult {};
}

} // namespace

QByteArrayView SegmentId(QByteArrayView segmentText, char elementSeparator)
{
    const qsizetype end = segmentText.indexOf(elementSeparator);
    return end < 0 ? segmentText : segmentText.first(end);
}

SegmentSearchResult FindNthOfType(TGFile &reader, QStringView type, qint64 n)
{
    const qint64 count = reader.SegmentCount();
    reader.GotoSegment(1);
    qint64 matches = 0;
    while (matches < n && reader.CurrentSegment() < count) {
        if (IdIs(CurrentId(reader), type))
            ++matches;
        if (matches < n)
            reader.GotoSegment(reader.CurrentSegment() + 1);
    }
    // The loop stops on the last segment before comparing it.
    if (matches < n && IdIs(CurrentId(reader), type))
        ++matches;
    if (matches == n)
        return FoundAt(reader);
    return {};
}

SegmentSearchResult FindNextOfType(TGFile &reader, qint64 caretLine)
{
    return StepToSameType(reader, caretLine, +1);
}

SegmentSearchResult FindPreviousOfType(TGFile &reader, qint64 caretLine)
{
    if (caretLine == 0)
        return { SegmentSearchResult::Outcome::NotSearched, 0 };
    return StepToSameType(reader, caretLine, -1);
}

} // namespace SegmentTypeSearch
