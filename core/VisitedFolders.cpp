#include "VisitedFolders.h"

#include "FileNames.h"

#include <QFile>
#include <QFileInfo>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace {

QString Identity(const QString &folder)
{
#if defined(Q_OS_UNIX)
    struct stat info;
    if (::stat(
            FileNames::Encode(folder.isEmpty() ? QStringLiteral(".") : folder).constData(), &info)
            != 0
        || !S_ISDIR(info.st_mode))
        return {};
    return QString::number(quint64(info.st_dev)) + u':' + QString::number(quint64(info.st_ino));
#else
    // Without inode numbers, the folder's path with every link resolved stands for it.
    return QFileInfo(folder.isEmpty() ? QStringLiteral(".") : folder).canonicalFilePath();
#endif
}

} // namespace

bool VisitedFolders::Enter(const QString &folder)
{
    const QString identity = Identity(folder);
    if (identity.isEmpty() || identities_.contains(identity))
        return false;
    identities_.insert(identity);
    return true;
}
