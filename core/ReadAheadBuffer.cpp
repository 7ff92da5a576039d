#include "ReadAheadBuffer.h"

#include "Exception.h"
#include "SystemError.h"

#include <QFile>

#include <algorithm>

ReadAheadBuffer::ReadAheadBuffer(QFile &file, qsizetype blockSize)
    : file_(file)
    , blockSize_(blockSize)
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
    // Walking backwards, place the block so that it ends where the request ends.
    qint64 start = pos;
    if (valid_ && pos < start_)
        start = std::clamp<qint64>(pos + want - blockSize_, 0, pos);
    // A block, or the whole request when longer; never more than the file holds, so that a
    // small file costs a small buffer.
    const qint64 wanted = std::max<qint64>(blockSize_, pos - start + want);
    const qint64 toRead = std::clamp<qint64>(limit_ - start, 0, wanted);
    valid_ = false;
    if (toRead > capacity_) {
        // The old block goes first, so that the two are never held at once; until the new one
        // is there the buffer holds nothing.
        data_.reset();
        capacity_ = 0;
        data_.reset(new char[toRead]);
        capacity_ = toRead;
    }

    qint64 got = 0;
    if (toRead > 0) {
        errno = 0;
        if (!file_.seek(start))
            throw EInOutError(LastSystemError());
        got = file_.read(data_.get(), toRead);
        if (got < 0)
            throw EInOutError(LastSystemError());
        // Fewer bytes only where the file has shrunk: later reads stop at its new end at once.
        if (got < toRead)
            limit_ = start + got;
    }
    start_ = start;
    length_ = got;
    reachedEnd_ = got < toRead || start + got >= limit_;
    valid_ = true;
}
