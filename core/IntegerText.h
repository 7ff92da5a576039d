#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// Reads a 32-bit integer as the program's number boxes and stored settings write it: leading
// spaces, an optional sign, then decimal digits, or hexadecimal digits after "$", "x" or "0x"
// (x in either case). Anything else, nothing at all, or a value beyond 32 bits gives no value.
// Hexadecimal digits give the 32-bit pattern they spell ("$FFFFFFFF" is -1).
std::optional<qint32> ToInt32(QStringView text);
