#pragma once

#include "Delimiters.h"

#include <QByteArrayView>
#include <QtGlobal>

// The layout of an ISA interchange header, learned from its first bytes. The element
// separator is the byte after "ISA". The header's elements are counted: ISA16 is the byte after
// the sixteenth element separator and the segment terminator the byte after ISA16, so a header
// whose fixed-width elements are not padded is read right too. Where fewer than sixteen
// separators stand in the first ScanLimit bytes, the standard's fixed positions hold: ISA16 at
// byte 104, the terminator at 105.
struct InterchangeHeader
{
    static constexpr qsizetype StandardLength = 106; // terminator included
    static constexpr qsizetype ScanLimit = 200;

    Delimiters Separators;
    qsizetype TextLength = StandardLength - 1; // the ISA segment's text: "ISA" to ISA16
    bool Counted = false; // the delimiters were found by counting the elements

    qsizetype Length() const { return TextLength + 1; }

    // bytes: the header's first bytes, from "ISA" on; at least StandardLength of them.
    static InterchangeHeader Parse(QByteArrayView bytes);

    // What the user is told of a header that is not 106 bytes long; empty for one that is.
    QString LengthNote() const;
};
