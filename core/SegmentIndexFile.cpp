#include "SegmentIndexFile.h"

#include "Exception.h"
#include "FileNames.h"
#include "IndexFileCleanup.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace {

// Writes or reads count bytes at pos whole, going on after interruptions and partial
// transfers; false with errno set when the system refuses, or (errno 0) when a read ends early.
template<class Transfer>
bool TransferAll(Transfer transfer, char *data, qint64 count, qint64 pos)
{
    qint64 done = 0;
    while (done < count) {
        const ssize_t n = transfer(data + done, size_t(count - done), off_t(pos + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = 0;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

QString SegmentIndexFile::DefaultFolder()
{
    // Taken as it is set: a folder that does not exist is reported by its name, never replaced.
    const QByteArray folder = qgetenv("TMPDIR");
    if (folder.isEmpty())
        return QStringLiteral("/tmp");
    QString path = FileNames::Decode(folder);
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

SegmentIndexFile::SegmentIndexFile(const QString &folder, Naming naming)
    : folder_(folder)
    , naming_(naming)
{ }

SegmentIndexFile::SegmentIndexFile()
    : defaultFolder_(true)
{ }

SegmentIndexFile::~SegmentIndexFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!fileName_.isEmpty())
        ::unlink(FileNames::Encode(fileName_).constData());
    IndexFileCleanup::Forget(cleanupSlot_);
}

void SegmentIndexFile::Fail(int error, const char *what) const
{
    throw EInOutError(error ? error : EIO,
        QStringLiteral("Cannot %1 the index file in %2")
            .arg(QLatin1String(what), FileNames::Display(folder_)));
}

void SegmentIndexFile::Create()
{
    if (defaultFolder_)
        folder_ = DefaultFolder();
    if (folder_.isEmpty())
        Fail(ENOENT, "create");
    if (naming_ == Naming::Unnamed) {
        fd_ = ::open(FileNames::Encode(folder_).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ >= 0)
            return;
        // Only a file system without unnamed files falls back to a named one.
        if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
            Fail(errno, "create");
    }
    CreateNamed();
}

void SegmentIndexFile::CreateNamed()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QString name = folder_ + QLatin1String("/x12");
        for (int i = 0; i < 6; ++i)
            name += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
        // Listed before it exists, so that no moment leaves it unlisted.
        const int slot = IndexFileCleanup::Remember(name);
        fd_ = ::open(
            FileNames::Encode(name).constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ >= 0) {
            fileName_ = name;
            cleanupSlot_ = slot;
            return;
        }
        const int error = errno;
        IndexFileCleanup::Forget(slot);
        if (error != EEXIST)
            Fail(error, "create");
    }
    Fail(EEXIST, "create");
}

IndexRecord SegmentIndexFile::Decode(const char *in)
{
    return { qFromLittleEndian<qint64>(in), qFromLittleEndian<qint32>(in + 8) };
}

void SegmentIndexFile::MakeRoom()
{
    // Dropping, a full buffer becomes the one whose records may go next, and the other one,
    // whose records go now, takes the new records.
    if (keep_ > 0 && pendingCapacity_ == keep_) {
        std::swap(pendingBytes_, droppable_);
        if (!pendingBytes_)
            pendingBytes_.reset(new char[keep_ * RecordSize]);
        droppableFirst_ = flushed_;
        flushed_ += pending_;
        pending_ = 0;
        return;
    }
    if (pendingCapacity_ == BufferRecords) {
        Flush();
        return;
    }
    // The buffer grows to its full size only for files with many segments.
    qint64 capacity = std::max<qint64>(FirstBufferRecords, pendingCapacity_ * 2);
    if (keep_ > 0)
        capacity = std::min(capacity, keep_);
    std::unique_ptr<char[]> bytes(new char[capacity * RecordSize]);
    if (pending_ > 0)
        std::memcpy(bytes.get(), pendingBytes_.get(), size_t(pending_ * RecordSize));
    pendingBytes_ = std::move(bytes);
    pendingCapacity_ = capacity;
}

void SegmentIndexFile::DropOlderRecords(qint64 keep)
{
    keep_ = std::max<qint64>(keep, 1);
}

IndexRecord SegmentIndexFile::Read(qint64 number)
{
    if (number < 0 || number >= Count()
        || (keep_ > 0 && number < flushed_ && (!droppable_ || number < droppableFirst_)))
        throw EInOutError(EINVAL, QStringLiteral("Segment %1 is not in the index").arg(number + 1));
    if (number >= flushed_)
        return Decode(pendingBytes_.get() + (number - flushed_) * RecordSize);
    if (keep_ > 0)
        return Decode(droppable_.get() + (number - droppableFirst_) * RecordSize);
    if (number < cacheFirst_ || number >= cacheFirst_ + cacheCount_)
        FillCache(number);
    return Decode(cacheBytes_.get() + (number - cacheFirst_) * RecordSize);
}

void SegmentIndexFile::Flush()
{
    if (fd_ < 0)
        Create();
    const auto write
        = [this](char *data, size_t n, off_t pos) { return ::pwrite(fd_, data, n, pos); };
    // A failed write leaves the records pending, so that a later flush writes them again.
    if (!TransferAll(write, pendingBytes_.get(), pending_ * RecordSize, flushed_ * RecordSize))
        Fail(errno, "write");
    flushed_ += pending_;
    pending_ = 0;
}

void SegmentIndexFile::FillCache(qint64 number)
{
    // Reading backwards, the requested record ends the block rather than starting it.
    qint64 first = number;
    if (number < cacheFirst_)
        first = std::max<qint64>(0, number - BufferRecords + 1);
    const qint64 count = std::min<qint64>(BufferRecords, flushed_ - first);

    if (!cacheBytes_)
        cacheBytes_.reset(new char[BufferRecords * RecordSize]);
    cacheCount_ = 0;
    const auto read
        = [this](char *data, size_t n, off_t pos) { return ::pread(fd_, data, n, pos); };
    if (!TransferAll(read, cacheBytes_.get(), count * RecordSize, first * RecordSize))
        Fail(errno, "read");
    cacheFirst_ = first;
    cacheCount_ = count;
}
