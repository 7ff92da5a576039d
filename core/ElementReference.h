#pragma once

#include "LineNumber.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

// The X12 element at one position of a segment's line: the segment id, the number of element
// separators before the position, and the reference they form (ST01, N104, ISA16, ST00 for the
// id itself), which is also the key of the element-name dictionary.
class ElementReference
{
public:
    // Only the first LineLimit bytes of a line are examined for the segment id.
    static constexpr qsizetype LineLimit = 256;
    static constexpr qsizetype SegmentIdLimit = 64;

    // line: the bytes of the whole line (Latin-1, without its line break); column: the 0-based
    // offset of the position in it. Separators are counted up to the column; beyond the first
    // LineLimit bytes the count goes on over the rest of the line.
    ElementReference(QByteArrayView line, qsizetype column, char elementSeparator);

    const QString &SegmentId() const { return segmentId_; }
    qsizetype ElementCount() const { return elementCount_; }
    // The element count with at least two digits: "00", "07", "12", "123".
    QString ElementNumberText() const;
    // Segment id followed by the element number text.
    QString Key() const { return segmentId_ + ElementNumberText(); }
    // The position indicator's text for this position on line lineIndex (0-based):
    // "Line: 12 Col: 7 N102".
    QString PositionText(LineNumber line) const;

private:
    qsizetype column_;
    qsizetype elementCount_ = 0;
    QString segmentId_;
};
