#pragma once

#include "Delimiters.h"
#include "ElementRow.h"

#include <QByteArrayView>
#include <QList>

class CodeDictionary;
class ElementDictionary;

// The rows of one segment: its id, then every element in order, each repetition of a repeated
// element and each component of a composite in a row of its own, named, with the meaning of
// its code. Empty elements are rows too, so that positions can be counted.
//
// References: an element's own (N104, and N100 for the segment id); a repeated element's
// repetitions add -1, -2 (EB03-1, EB03-2); a composite's components add -1, -2 (SV101-2); a
// repeated composite adds the repetition, then the component (HI01-2-1 is the first component
// of the second repetition). An element is repeated when it holds the repetition separator,
// and composite when any of its repetitions holds the component separator, so that all of its
// rows carry a component number.
//
// Names are looked up under the reference without its repetition (SV101-2), then under the
// element's (SV101); meanings under the reference without its repetition (CLM05-1, EB03).
//
// The ISA is fixed-width and holds the delimiters themselves (ISA11, ISA16): its elements are
// never split into repetitions or components.
class SegmentExplanation
{
public:
    // More rows than any real segment has; the rest of a segment beyond them is left out.
    static constexpr qsizetype RowLimit = 1000;
    static constexpr qsizetype NoValueLimit = -1;
    // Codes are short: a longer value is not looked up.
    static constexpr qsizetype CodeLengthLimit = 256;

    SegmentExplanation() = default;
    // segment: the segment's text without its terminator. valueLimit: the most characters of a
    // value kept in a row, the cut marked with "…"; the row's Start and Length stay exact.
    SegmentExplanation(QByteArrayView segment, const Delimiters &delimiters,
        const ElementDictionary &names, const CodeDictionary &codes,
        qsizetype valueLimit = NoValueLimit);

    const QList<ElementRow> &Rows() const { return rows_; }
    // Whether rows after the first RowLimit were left out.
    bool Truncated() const { return truncated_; }

    // The row at column of the segment's text, counted as the position indicator counts: a
    // column directly after a separator lies in what follows it, one on a separator in what
    // precedes it. -1 past the last row.
    qsizetype RowAt(qsizetype column) const;

private:
    void AddElement(qsizetype number, qsizetype begin, qsizetype end);
    bool AddRow(const QString &reference, const QString &key, const QString &elementKey,
        qsizetype begin, qsizetype end);

    QByteArrayView segment_;
    Delimiters delimiters_;
    const ElementDictionary *names_ = nullptr;
    const CodeDictionary *codes_ = nullptr;
    qsizetype valueLimit_ = NoValueLimit;
    QString segmentId_;
    QList<ElementRow> rows_;
    bool truncated_ = false;
};
