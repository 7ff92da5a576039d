#pragma once

#include <QByteArrayView>
#include <QStringView>
#include <QtGlobal>

class TGFile;

// What a segment-type search came to: the segment found, none, or no search at all.
struct SegmentSearchResult
{
    enum class Outcome { Found, NotFound, NotSearched };

    Outcome Result = Outcome::NotFound;
    qint64 Segment = 0; // the segment found; 0 otherwise

    bool Found() const { return Result == Outcome::Found; }
};

// The searches behind Go To Line by type and the Next and Previous Segment of This Type
// commands. They walk the reader one segment at a time, in a single pass, and leave it where
// the search stopped (the segment found, the last segment or segment 1). A segment's id is its
// text before the first element separator, compared exactly, letter case significant. Line
// numbers are the view's (0-based): line i holds segment i + 1.
namespace SegmentTypeSearch {

QByteArrayView SegmentId(QByteArrayView segmentText, char elementSeparator);

// The n-th segment (n from 1) whose id is type, always counted from segment 1. type is
// compared character for character with the segment's bytes read as Latin-1.
SegmentSearchResult FindNthOfType(TGFile &reader, QStringView type, qint64 n);

// The first segment after the one on caretLine whose id is the same as that segment's. On the
// last segment (or past it) the search finds that segment itself.
SegmentSearchResult FindNextOfType(TGFile &reader, qint64 caretLine);

// The nearest segment before the one on caretLine with the same id, never below segment 1.
// On line 0 nothing is searched.
SegmentSearchResult FindPreviousOfType(TGFile &reader, qint64 caretLine);

} // namespace SegmentTypeSearch
