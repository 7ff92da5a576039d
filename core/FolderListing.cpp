#include "FolderListing.h"

#include "FileMask.h"

#include <QDir>
#include <QDirIterator>

namespace FolderListing {

QList<FolderEntry> Entries(const QString &folder)
{
    QList<FolderEntry> entries;
    QDirIterator it(folder.isEmpty() ? QStringLiteral(".") : folder,
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        // The listing already knows most entries' types; only links and unknown types cost a
        // stat here.
        const QFileInfo info = it.fileInfo();
        entries.append({ info.fileName(), info.isDir() });
    }
    return entries;
}

QStringList ListFolder(const QString &pattern)
{
    const qsizetype slash = pattern.lastIndexOf(u'/');
    const FileMaskList masks(FileMask::SplitMasks(QStringView(pattern).sliced(slash + 1)));
    QStringList names;
    for (const FolderEntry &entry : Entries(pattern.left(slash + 1))) {
        if (masks.Matches(entry.Name))
            names.append(entry.Name);
    }
    return names;
}

} // namespace FolderListing
