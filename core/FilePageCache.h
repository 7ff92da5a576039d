#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <memory>
#include <vector>

class ReadOnlyFile;

// The pages of a file read most recently, so that painting, scrolling and stepping through
// lines read the file once rather than once a line. Holds at most PageCount pages of PageSize
// bytes. Never raises: a read the system refuses, or a file that ends before the size it had
// when opened, gives fewer bytes and marks the cache as having failed.
class FilePageCache
{
public:
    static constexpr qint64 PageSize = 64 * 1024;
    static constexpr int PageCount = 64;

    // size: the file's size when it was opened; nothing past it is read.
    FilePageCache(const ReadOnlyFile &file, qint64 size);

    // Up to count bytes at offset, fewer at the end of the file or after a failure.
    QByteArray Read(qint64 offset, qint64 count);
    // The same into out, which has room for count bytes; tells how many it copied.
    qint64 ReadInto(qint64 offset, char *out, qint64 count);
    // Whether a read came up short or was refused since the cache was made.
    bool Failed() const { return failed_; }

private:
    struct Page
    {
        qint64 Number = -1;
        qint64 Length = 0;
        std::unique_ptr<char[]> Bytes;
    };

    Page &PageAt(qint64 number);

    const ReadOnlyFile &file_;
    const qint64 size_;
    // Page n may stand only in slot n % PageCount: found at once, and pages read in file order
    // take the slots in turn.
    std::vector<Page> pages_;
    bool failed_ = false;
};
