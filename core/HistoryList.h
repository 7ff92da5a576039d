#pragma once

#include <QString>
#include <QStringList>

// Lists kept most recent first: recent files, searched folders and search texts.
namespace HistoryList {

// How file paths compare on this platform: case-sensitively on Linux, ignoring case on
// Windows and macOS, as their file systems do.
Qt::CaseSensitivity FilePathCase();

// Puts text at the front of list: a text not yet there is inserted at the front; one found
// further down (compared with cs) is removed there and inserted at the front as now written;
// one already at the front leaves the list unchanged, in its earlier letter case. Returns the
// index the text had before (-1 when absent), so that a mirrored item list can follow suit.
int MoveToFront(QStringList &list, const QString &text, Qt::CaseSensitivity cs);

} // namespace HistoryList
