#include "SegmentIndexFile.h"

#include "Exception.h"
#include "FileNames.h"
#include "IndexFileCleanup.h"

#include <QRandomGenerator>

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

qint32 FindLength(const std::vector<std::pair<qint64, qint32>> &lengths, qint64 number)
{
    const auto at = std::lower_bound(lengths.begin(), lengths.end(), number,
        [](const std::pair<qint64, qint32> &entry, qint64 n) { return entry.first < n; });
    return at != lengths.end() && at->first == number ? at->second : -1;
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

void SegmentIndexFile::CreateFile()
{
    if (fd_ < 0)
        Create();
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
    const quint64 word = qFromLittleEndian<quint64>(in);
    return { qint64(word & quint64(MaxOffset)), qint32(word >> 40) };
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

void SegmentIndexFile::AppendLong(qint64 number, qint32 length)
{
    newLongLengths_.emplace_back(number, length);
}

// Only the writer calls this; it reads the lists only it changes.
qint32 SegmentIndexFile::LongLengthOf(qint64 number) const
{
    const qint32 length = FindLength(newLongLengths_, number);
    return length >= 0 ? length : FindLength(longLengths_, number);
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
    IndexRecord record;
    if (number >= flushed_) {
        record = Decode(pendingBytes_.get() + (number - flushed_) * RecordSize);
    } else if (keep_ > 0) {
        record = Decode(droppable_.get() + (number - droppableFirst_) * RecordSize);
    } else {
        if (!ownReads_)
            ownReads_.reset(new Reader(*this, true));
        return ownReads_->Read(number);
    }
    if (quint32(record.Length) == LongLength)
        record.Length = LongLengthOf(number);
    return record;
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

void SegmentIndexFile::Publish()
{
    if (pending_ > 0 || fd_ < 0)
        Flush();
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        checkpoints_.insert(checkpoints_.end(), newCheckpoints_.begin(), newCheckpoints_.end());
        longLengths_.insert(longLengths_.end(), newLongLengths_.begin(), newLongLengths_.end());
        publishedLongest_ = longest_;
    }
    newCheckpoints_.clear();
    newLongLengths_.clear();
    published_.store(flushed_, std::memory_order_release);
}

void SegmentIndexFile::ReadRecords(char *out, qint64 first, qint64 count) const
{
    const auto read
        = [this](char *data, size_t n, off_t pos) { return ::pread(fd_, data, n, pos); };
    if (!TransferAll(read, out, count * RecordSize, first * RecordSize))
        Fail(errno, "read");
}

SegmentIndexFile::Reader::Reader(const SegmentIndexFile &index)
    : index_(index)
{ }

SegmentIndexFile::Reader::Reader(const SegmentIndexFile &index, bool writerSide)
    : index_(index)
    , writerSide_(writerSide)
{ }

void SegmentIndexFile::Reader::Fill(qint64 number)
{
    // Blocks start at checkpoints, so that the walk from a checkpoint to a record (Position,
    // RecordAt) stays in one block. Reading backwards, the requested record ends the block
    // rather than starting it.
    qint64 first = number - number % CheckpointStep;
    if (number < cacheFirst_)
        first = std::max<qint64>(0, first + CheckpointStep - BufferRecords);
    const qint64 count = std::min<qint64>(BufferRecords, Count() - first);
    if (!cache_)
        cache_.reset(new char[BufferRecords * RecordSize]);
    cacheCount_ = 0;
    index_.ReadRecords(cache_.get(), first, count);
    cacheFirst_ = first;
    cacheCount_ = count;
}

IndexRecord SegmentIndexFile::Reader::Read(qint64 number)
{
    if (number < 0 || number >= Count())
        throw EInOutError(EINVAL, QStringLiteral("Segment %1 is not in the index").arg(number + 1));
    if (number < cacheFirst_ || number >= cacheFirst_ + cacheCount_)
        Fill(number);
    IndexRecord record = Decode(cache_.get() + (number - cacheFirst_) * RecordSize);
    if (quint32(record.Length) == LongLength) {
        if (writerSide_)
            return { record.Offset, index_.LongLengthOf(number) };
        const std::lock_guard<std::mutex> lock(index_.mutex_);
        record.Length = FindLength(index_.longLengths_, number);
    }
    return record;
}

qint64 SegmentIndexFile::Reader::Position(qint64 number)
{
    const qint64 count = Count();
    number = std::clamp<qint64>(number, 0, count);
    if (number == 0)
        return 0;
    // The end of a full last block has no checkpoint yet: count from the block before.
    qint64 block = number / CheckpointStep;
    if (number == count && number % CheckpointStep == 0)
        --block;
    qint64 position = 0;
    {
        const std::lock_guard<std::mutex> lock(index_.mutex_);
        position = index_.checkpoints_[size_t(block)];
    }
    for (qint64 n = block * CheckpointStep; n < number; ++n)
        position += Read(n).Length + 1;
    return position;
}

qint64 SegmentIndexFile::Reader::RecordAt(qint64 position)
{
    const qint64 count = Count();
    if (count == 0 || position < 0)
        return position < 0 ? 0 : count;
    qint64 block = 0;
    {
        const std::lock_guard<std::mutex> lock(index_.mutex_);
        const auto &checkpoints = index_.checkpoints_;
        const qint64 known = std::min<qint64>(
            qint64(checkpoints.size()), (count + CheckpointStep - 1) / CheckpointStep);
        const auto after
            = std::upper_bound(checkpoints.begin(), checkpoints.begin() + known, position);
        block = qint64(after - checkpoints.begin()) - 1;
        position -= checkpoints[size_t(block)];
    }
    for (qint64 n = block * CheckpointStep; n < count; ++n) {
        position -= Read(n).Length + 1;
        if (position < 0)
            return n;
    }
    return count;
}

std::pair<qint64, qint32> SegmentIndexFile::Reader::Longest() const
{
    const std::lock_guard<std::mutex> lock(index_.mutex_);
    return index_.publishedLongest_;
}
