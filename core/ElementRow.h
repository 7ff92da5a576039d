#pragma once

#include <QString>
#include <QtGlobal>

// One element of a segment as the element panel and the explain command show it: an element,
// one repetition of a repeated element, or one component of a composite.
struct ElementRow
{
    // N101; EB03-2 for a repetition; SV101-2 for a component; HI01-2-1 for a component of a
    // repeated composite (see SegmentExplanation); ST00 for the segment id.
    QString Reference;
    QString Name; // from the element-name dictionary
    QString Value; // the data, one character per byte
    QString Meaning; // of the value as a code, where the code dictionary knows it
    // Where the value lies in the segment's text: its offset and length in bytes.
    qsizetype Start = 0;
    qsizetype Length = 0;

    bool operator==(const ElementRow &) const = default;
};
