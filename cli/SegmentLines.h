#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <memory>

class TGFile;

// Writes the text of every segment of a file, one line each, as the reader's one pass over the
// file finds them, through a large block of its own straight to a file descriptor.
class SegmentLines
{
public:
    static constexpr qsizetype BlockSize = qsizetype(1) << 20;

    explicit SegmentLines(int fd);
    ~SegmentLines();

    SegmentLines(const SegmentLines &) = delete;
    SegmentLines &operator=(const SegmentLines &) = delete;

    // Writes every segment of reader, which must not have scanned beyond its first segment: each
    // segment's text up to its first NUL byte, then a line break. A failed write raises
    // Exception "Cannot write the output". When the reader fails, the lines of the segments
    // read before are written and its error is raised.
    void Write(TGFile &reader);

private:
    void Append(QByteArrayView segment);
    void AppendLong(QByteArrayView segment);
    void Flush();
    void WriteAll(const char *data, qsizetype size);

    int fd_;
    std::unique_ptr<char[]> block_;
    qsizetype used_ = 0;
};
