#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Name=Value lines, as the element-name dictionary and the settings file hold them: a line's
// name is the text before its first "=" and its value everything after it, nothing trimmed; a
// line without "=" has no name. Names match ignoring letter case, and the first line wins.
namespace NameValueLines {

// Index of the first line named name, or -1.
qsizetype IndexOf(const QStringList &lines, QStringView name);

// Value of the first line named name; empty when there is none.
QString Value(const QStringList &lines, QStringView name);

// A text's lines: CR LF, LF or CR ends a line; a break at the very end starts no other line.
QStringList Split(QStringView text);

} // namespace NameValueLines
