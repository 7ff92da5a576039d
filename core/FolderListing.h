#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One entry of a folder as its listing gives it.
struct FolderEntry
{
    QString Name; // without any folder part; its bytes as FileNames carries them
    bool IsDirectory = false; // following symbolic links
};

// Folder listings for Find in Files: every entry, hidden and system ones included, in the
// order the file system gives them (unsorted). Names are kept byte for byte, whatever their
// encoding. A folder that cannot be listed gives nothing; an error part-way keeps the entries
// listed so far. Either way error, when given, receives the system's reason.
namespace FolderListing {

// The entries of folder other than "." and "..". folder is used as given ("" is the current
// folder, "/" the root).
QList<FolderEntry> Entries(const QString &folder, QString *error = nullptr);

// The names of the entries matching the masks of pattern: a folder part up to and including
// the pattern's last "/", then the masks (FileMask::SplitMasks). Without a "/" the whole
// pattern is masks of the current folder. Folders are listed as well as files.
QStringList ListFolder(const QString &pattern);

} // namespace FolderListing
