#include "ReadAheadBuffer.h"

#include "Exception.h"
#include "SystemError.h"

#include <QFile>

#include <algorithm>

ReadAheadBuffer::ReadAheadBuffer(QFile &file, qsizetype blockSize)
    : file_(file)
    , capacity_(blockSize)
{ }

QByteArrayView ReadAheadBuffer::Read(qint64 pos, qsizetype want)
{
    const qint64 end = start_ + length_;
    const bool inBlock = valid_ && pos >= start_ && pos <= end;
    // Inside a block that ended at the end of the file, whatever is there is all there is.
    if (!(inBlock && (pos + want <= end || reachedEnd_)))
        Fill(pos, want);
    const qint64 skip = pos - start_;
    const qint64 available = std::clamp<qint64>(length_ - skip, 0, want);
    if (available == 0)
        return {};
    return QByteArrayView(data_.get() + skip, available);
}

void ReadAheadBuffer::Fill(qint64 pos, qsizetype want)
{
    // A segment longer than the block: the block grows to hold it, and stays that size.
    capacity_ = std::max(capacity_, want);
    // Walking backwards, place the block so that it ends where the request ends.
    qint64 start = pos;
    if (valid_ && pos < start_)
        start = std::max<qint64>(0, pos + want - capacity_);

    valid_ = false;
    const qint64 toRead = std::clamp<qint64>(limit_ - start, 0, capacity_);
    if (toRead > allocated_) {
        data_.reset();
        data_.reset(new char[size_t(toRead)]);
        allocated_ = qsizetype(toRead);
    }
    qint64 got = 0;
    if (toRead > 0) {
        errno = 0;
        if (!file_.seek(start))
            throw EInOutError(LastSystemError());
        got = file_.read(data_.get(), toRead); // fewer only where the file has shrunk
        if (got < 0)
            throw EInOutError(LastSystemError());
    }
    start_ = start;
    length_ = got;
    reachedEnd_ = got < capacity_;
    valid_ = true;
}
