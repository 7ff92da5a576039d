#pragma once

#include <QByteArray>

// Small interchanges for tests, byte for byte.
namespace X12Builder {

// The 106-byte ISA header, terminator included, with the given delimiters.
QByteArray Isa(char elementSeparator = '*', char componentSeparator = ':', char terminator = '~');

} // namespace X12Builder
