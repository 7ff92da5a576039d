#include "ReadAheadBuffer.h"

#include "Exception.h"
#include "FileNames.h"
#include "ReadOnlyFile.h"

#include <algorithm>

ReadAheadBuffer::ReadAheadBuffer(const ReadOnlyFile &file, qsizetype blockSize)
    : file_(file)
    , blockSize_(blockSize)
{ }

QByteArrayView ReadAheadBuffer::Read(qint64 pos, qsizetype want)
{
    const qint64 end = start_ + length_;
    const bool inBlock = valid_ && pos >= start_ && pos <= end;
    // A block always holds everything up to the limit that it could: past its end there is
    // nothing more only when it ends at the limit.
    if (!(inBlock && (pos + want <= end || end >= limit_)))
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
    const qint64 got = toRead > 0 ? file_.ReadAt(start, data_.get(), toRead) : 0;
    if (got < toRead)
        throw EFileChanged(FileNames::Display(file_.Path()));
    start_ = start;
    length_ = got;
    valid_ = true;
}
