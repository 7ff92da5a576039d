#include "SettingsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

namespace {

rlimit savedLimit;
void (*savedHandler)(int) = SIG_DFL;

} // namespace

ScratchFolder::ScratchFolder()
{
    QTemporaryDir dir(QDir::tempPath() + QLatin1String("/scratch-XXXXXX"));
    dir.setAutoRemove(false);
    if (!dir.isValid())
        std::abort();
    path_ = dir.path();
}

ScratchFolder::~ScratchFolder()
{
    QDir(path_).removeRecursively();
}

QStringList ScratchFolder::Entries() const
{
    return QDir(path_).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

FileSizeLimit::FileSizeLimit(qint64 limit)
{
    // The test's own output must not fall under the limit when it goes to a file.
    std::fflush(stdout);
    std::fflush(stderr);
    savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &savedLimit);
    // Only the soft limit moves, so that it can be raised again without special rights.
    const rlimit limited { rlim_t(limit), savedLimit.rlim_max };
    setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &savedLimit);
    std::signal(SIGXFSZ, savedHandler);
}
