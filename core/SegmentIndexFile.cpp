#include "SegmentIndexFile.h"

#include "Exception.h"
#include "IndexFileCleanup.h"
#include "SystemError.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

SegmentIndexFile::SegmentIndexFile(const QString &folder)
    : file_(folder + QLatin1String("/x12XXXXXX"))
{
    file_.setAutoRemove(true);
    errno = 0;
    if (!file_.open())
        throw EInOutError(LastSystemError());
    cleanupSlot_ = IndexFileCleanup::Remember(file_.fileName());
}

SegmentIndexFile::~SegmentIndexFile()
{
    IndexFileCleanup::Forget(cleanupSlot_);
}

void SegmentIndexFile::Encode(const IndexRecord &record, char *out)
{
    qToLittleEndian<qint64>(record.Offset, out);
    qToLittleEndian<qint32>(record.Length, out + 8);
    std::memset(out + 12, 0, 4);
}

IndexRecord SegmentIndexFile::Decode(const char *in)
{
    return { qFromLittleEndian<qint64>(in), qFromLittleEndian<qint32>(in + 8) };
}

void SegmentIndexFile::Append(const IndexRecord &record)
{
    if (pending_ == pendingCapacity_) {
        if (pendingCapacity_ == BufferRecords) {
            Flush();
        } else {
            // The buffer grows to its full size only for files with many segments.
            const qint64 capacity = std::max<qint64>(FirstBufferRecords, pendingCapacity_ * 2);
            std::unique_ptr<char[]> bytes(new char[capacity * RecordSize]);
            if (pending_ > 0)
                std::memcpy(bytes.get(), pendingBytes_.get(), size_t(pending_ * RecordSize));
            pendingBytes_ = std::move(bytes);
            pendingCapacity_ = capacity;
        }
    }
    Encode(record, pendingBytes_.get() + pending_ * RecordSize);
    ++pending_;
}

IndexRecord SegmentIndexFile::Read(qint64 number)
{
    // A negative record number cannot be positioned in the file.
    if (number < 0)
        throw EInOutError(EINVAL);
    if (number >= flushed_) {
        if (number >= Count())
            throw EInOutError(EIO);
        return Decode(pendingBytes_.get() + (number - flushed_) * RecordSize);
    }
    if (number < cacheFirst_ || number >= cacheFirst_ + cacheCount_)
        FillCache(number);
    return Decode(cacheBytes_.get() + (number - cacheFirst_) * RecordSize);
}

void SegmentIndexFile::Flush()
{
    const qint64 size = pending_ * RecordSize;
    errno = 0;
    // A failed write leaves the records pending, so that a later flush writes them again.
    if (!file_.seek(flushed_ * RecordSize) || file_.write(pendingBytes_.get(), size) != size
        || !file_.flush())
        throw EInOutError(LastSystemError());
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
    const qint64 size = count * RecordSize;

    if (!cacheBytes_)
        cacheBytes_.reset(new char[BufferRecords * RecordSize]);
    cacheCount_ = 0;
    errno = 0;
    if (!file_.seek(first * RecordSize) || file_.read(cacheBytes_.get(), size) != size)
        throw EInOutError(LastSystemError());
    cacheFirst_ = first;
    cacheCount_ = count;
}
