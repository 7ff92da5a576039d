#include "FilePageCache.h"

#include "ReadOnlyFile.h"

#include <algorithm>
#include <cstring>
#include <exception>

FilePageCache::FilePageCache(const ReadOnlyFile &file, qint64 size)
    : file_(file)
    , size_(size)
{ }

FilePageCache::Page &FilePageCache::PageAt(qint64 number)
{
    if (pages_.empty())
        pages_.resize(PageCount);
    Page &page = pages_[size_t(number % PageCount)];
    if (page.Number == number)
        return page;
    if (!page.Bytes)
        page.Bytes.reset(new char[PageSize]);
    page.Number = number;
    page.Length = 0;
    const qint64 start = number * PageSize;
    const qint64 wanted = std::clamp<qint64>(size_ - start, 0, PageSize);
    try {
        page.Length = file_.ReadAt(start, page.Bytes.get(), wanted);
    } catch (const std::exception &) {
        // Reported through Failed(); the page holds nothing.
        page.Length = 0;
    }
    if (page.Length < wanted) {
        failed_ = true;
        page.Number = -1; // read again next time, in case the file is whole again
    }
    return page;
}

QByteArray FilePageCache::Read(qint64 offset, qint64 count)
{
    QByteArray bytes(std::clamp<qint64>(size_ - offset, 0, count), Qt::Uninitialized);
    bytes.truncate(ReadInto(offset, bytes.data(), bytes.size()));
    return bytes;
}

qint64 FilePageCache::ReadInto(qint64 offset, char *out, qint64 count)
{
    count = std::clamp<qint64>(size_ - offset, 0, count);
    qint64 done = 0;
    while (offset >= 0 && done < count) {
        const Page &page = PageAt(offset / PageSize);
        const qint64 skip = offset % PageSize;
        const qint64 n = std::min(count - done, page.Length - skip);
        if (n <= 0)
            break;
        std::memcpy(out + done, page.Bytes.get() + skip, size_t(n));
        offset += n;
        done += n;
    }
    return done;
}
