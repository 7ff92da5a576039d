#pragma once

#include <QByteArray>
#include <QByteArrayList>

// Small interchanges for tests, byte for byte.
namespace X12Builder {

// The 106-byte ISA header, terminator included, with the given delimiters.
QByteArray Isa(char elementSeparator = '*', char componentSeparator = ':', char terminator = '~');

// An interchange: the ISA header, then each segment with the "~" terminator, every
// terminator followed by lineBreak.
QByteArray Interchange(const QByteArrayList &segments, const QByteArray &lineBreak = "\r\n");

} // namespace X12Builder
