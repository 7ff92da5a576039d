#include "ReadOnlyFile.h"

#include "Exception.h"
#include "FileNames.h"

#include <QDir>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFile::ReadOnlyFile(const QString &fileName, int folderFd, QStringView nameInFolder)
    : fileName_(fileName)
{
    // The messages' texts are made only when one is needed: a search opens many files.
    const auto refuse = [&](const QString &reason) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        throw Exception(
            QStringLiteral("Cannot open file \"%1\". %2").arg(FileNames::Display(Path()), reason));
    };
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC;
    fd_ = folderFd >= 0 ? ::openat(folderFd, FileNames::Encode(nameInFolder).constData(), flags)
                        : ::open(FileNames::Encode(fileName).constData(), flags);
    if (fd_ < 0)
        refuse(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat info
    {
    };
    if (::fstat(fd_, &info) != 0)
        refuse(QString::fromLocal8Bit(std::strerror(errno)));
    if (S_ISDIR(info.st_mode))
        refuse(QStringLiteral("It is a folder, not a file."));
    else if (!S_ISREG(info.st_mode))
        refuse(QStringLiteral("Not a regular file"));
    openedSize_ = qint64(info.st_size);
    // O_NONBLOCK stays: Linux ignores it for regular files, and a file system that does not is
    // dealt with where a read says so (ReadAt), which spares every file a system call.
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

QString ReadOnlyFile::Path() const
{
    if (fileName_.startsWith(u'/'))
        return fileName_;
    return QDir::cleanPath(QDir::currentPath() + u'/' + fileName_);
}

qint64 ReadOnlyFile::Size() const
{
    struct stat info
    {
    };
    if (::fstat(fd_, &info) != 0)
        return -1;
    return qint64(info.st_size);
}

qint64 ReadOnlyFile::ReadAt(qint64 pos, char *data, qint64 count) const
{
    qint64 done = 0;
    bool waiting = false;
    while (done < count) {
        const ssize_t got = ::pread(fd_, data + done, size_t(count - done), off_t(pos + done));
        if (got < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            // Reads wait for the data from then on.
            if (error == EAGAIN && !waiting) {
                waiting = ::fcntl(fd_, F_SETFL, 0) == 0;
                if (waiting)
                    continue;
            }
            throw EInOutError(
                error, QStringLiteral("Cannot read \"%1\"").arg(FileNames::Display(Path())));
        }
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

ReadOnlyFile::Stamp ReadOnlyFile::StampOf(const QString &fileName)
{
    struct stat info
    {
    };
    if (::stat(FileNames::Encode(fileName).constData(), &info) != 0)
        return {};
    return { true, qint64(info.st_size),
        qint64(info.st_mtim.tv_sec) * 1000000000 + qint64(info.st_mtim.tv_nsec) };
}
