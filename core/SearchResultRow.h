#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One file found by Find in Files, as the four text cells of its result row.
struct SearchResultRow
{
    QString Filename;
    QString Directory; // always ending in "/"
    QString Size; // bytes, or "?" when the size cannot be read
    QString LastModified;

    // The file's full path: the Directory cell followed by the Filename cell.
    QString Path() const { return Directory + Filename; }

    // The row of the file name found in directory (the folder text it was listed under): its
    // size, "?" unless it is a regular file, and its last-write time, from one look at the file
    // (by name in folderFd, the directory held open, when that is given).
    static SearchResultRow Of(const QString &name, const QString &directory, int folderFd = -1);

    // directory followed by "/" unless it ends with one already; "" gives "/".
    static QString DirectoryCell(const QString &directory);
    // The user's short date, then one space and the user's long time unless the time is
    // midnight exactly; empty for an invalid time (a file that has gone).
    static QString LastModifiedCell(const QDateTime &localTime);

    // The result list as it is copied: for each row with a file name, in order, its path, a tab,
    // its size, a tab, its last-modified text and CR LF. Empty when no row has a file name.
    static QString ListText(const QList<SearchResultRow> &rows);
};
