#include "ReadOnlyFile.h"

#include "Exception.h"
#include "FileNames.h"

#include <QDir>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString AbsolutePath(const QString &fileName)
{
    if (fileName.startsWith(u'/'))
        return fileName;
    return QDir::cleanPath(QDir::currentPath() + u'/' + fileName);
}

} // namespace

ReadOnlyFile::ReadOnlyFile(const QString &fileName)
    : path_(AbsolutePath(fileName))
{
    const QString shown = FileNames::Display(path_);
    const auto refuse = [&](const QString &reason) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(shown, reason));
    };
    // Without O_NONBLOCK, opening a FIFO would wait for a writer.
    fd_ = ::open(FileNames::Encode(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
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
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (fd_ >= 0)
        ::close(fd_);
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
    while (done < count) {
        const ssize_t got = ::pread(fd_, data + done, size_t(count - done), off_t(pos + done));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw EInOutError(
                errno, QStringLiteral("Cannot read \"%1\"").arg(FileNames::Display(path_)));
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
