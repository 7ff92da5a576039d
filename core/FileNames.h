#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

// File names as the file system holds them: bytes, usually UTF-8 but not always. A name is
// carried as text without losing a byte: valid UTF-8 is decoded, and every byte of an invalid
// sequence becomes one of the characters U+DC80 to U+DCFF (unpaired surrogates, which UTF-8
// text never holds), which Encode turns back into that byte. Display shows such a byte as the
// replacement character.
namespace FileNames {

QString Decode(QByteArrayView bytes);
QByteArray Encode(QStringView name);
// The name as shown to the user: every byte that is not UTF-8 as U+FFFD.
QString Display(QStringView name);

// The command line's arguments, decoded byte for byte (argv[0] left out).
QStringList Arguments(int argc, char *argv[]);

} // namespace FileNames
