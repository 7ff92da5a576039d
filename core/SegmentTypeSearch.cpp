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
    const qint64 count = reader.SegmentCount();
    reader.GotoSegment(caretLine + 1);
    const QByteArray type = CurrentId(reader).toByteArray();
    bool found = false;
    while (!found && reader.CurrentSegment() < count) {
        reader.GotoSegment(reader.CurrentSegment() + 1);
        found = CurrentId(reader) == type;
    }
    // Started on the last segment, this compares that segment with itself.
    if (!found)
        found = CurrentId(reader) == type;
    if (found)
        return FoundAt(reader);
    return {};
}

SegmentSearchResult FindPreviousOfType(TGFile &reader, qint64 caretLine)
{
    if (caretLine == 0)
        return { SegmentSearchResult::Outcome::NotSearched, 0 };
    reader.GotoSegment(caretLine + 1);
    const QByteArray type = CurrentId(reader).toByteArray();
    bool found = false;
    while (!found && reader.CurrentSegment() > 1) {
        reader.GotoSegment(reader.CurrentSegment() - 1);
        found = CurrentId(reader) == type;
    }
    if (!found)
        found = CurrentId(reader) == type;
    if (found)
        return FoundAt(reader);
    return {};
}

} // namespace SegmentTypeSearch
