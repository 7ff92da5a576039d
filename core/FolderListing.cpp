#include "FolderListing.h"

#include "FileMask.h"
#include "FileNames.h"

#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace FolderListing {

QList<FolderEntry> Entries(const QString &folder, QString *error)
{
    QList<FolderEntry> entries;
    const QByteArray path = folder.isEmpty() ? QByteArray(".") : FileNames::Encode(folder);
    DIR *dir = ::opendir(path.constData());
    if (!dir) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        return entries;
    }
    const int dirFd = ::dirfd(dir);
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(dir);
        if (!entry) {
            if (errno != 0 && error)
                *error = QString::fromLocal8Bit(std::strerror(errno));
            break;
        }
        const char *name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        // The listing already knows most entries' types; only links and unknown types cost a
        // stat here.
        bool isDirectory = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat info
            {
            };
            isDirectory = ::fstatat(dirFd, name, &info, 0) == 0 && S_ISDIR(info.st_mode);
        }
        entries.append({ FileNames::Decode(QByteArrayView(name)), isDirectory });
    }
    ::closedir(dir);
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
