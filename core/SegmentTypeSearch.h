#pragma once

#include "LineNumber.h"

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

class LineSource;

// What a segment-type search came to: the segment found, none, or no search at all.
struct SegmentSearchResult
{
    enum class Outcome { Found, NotFound, NotSearched };

    Outcome Result = Outcome::NotFound;
    SegmentNumber Segment; // the segment found

    bool Found() const { return Result == Outcome::Found; }
};

// The searches behind Go To Line by type and the Next and Previous Segment of This Type
// commands, over the lines of a source (line n is segment n + 1), in a single pass. A segment's
// id is its text before its interchange's first element separator, compared exactly, letter
// case significant. Only the lines the source has so far are searched.
namespace SegmentTypeSearch {

QByteArrayView SegmentId(QByteArrayView segmentText, char elementSeparator);

// The n-th segment (n from 1) whose id is type, always counted from segment 1. type is
// compared character for character with the segment's bytes read as Latin-1.
SegmentSearchResult FindNthOfType(LineSource &lines, QStringView type, qint64 n);

// The first segment after the one on caretLine whose id is the same as that segment's. On the
// last segment (or past it) the search finds that segment itself.
SegmentSearchResult FindNextOfType(LineSource &lines, LineNumber caretLine);

// The nearest segment before the one on caretLine with the same id, never below segment 1.
// On line 0 nothing is searched.
SegmentSearchResult FindPreviousOfType(LineSource &lines, LineNumber caretLine);

} // namespace SegmentTypeSearch
