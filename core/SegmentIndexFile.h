#pragma once

#include <QTemporaryFile>
#include <QtGlobal>

#include <memory>

// One record of the segment index: where a segment starts and how many bytes it has, without
// its terminator and line break.
struct IndexRecord
{
    qint64 Offset = 0;
    qint32 Length = 0;
};

// The temporary file of 16-byte index records (offset, length, four zero bytes, little-endian)
// that a reader keeps for its file. Records are appended in segment order and read back by
// number; both go through buffers of their own, so neither costs one system call per record.
// Every failure raises EInOutError with the system's error number.
class SegmentIndexFile
{
public:
    static constexpr int RecordSize = 16;

    // Creates an empty, uniquely named file beginning with "x12" in folder; it is deleted
    // when this object goes.
    explicit SegmentIndexFile(const QString &folder);
    ~SegmentIndexFile();

    SegmentIndexFile(const SegmentIndexFile &) = delete;
    SegmentIndexFile &operator=(const SegmentIndexFile &) = delete;

    QString FileName() const { return file_.fileName(); }
    qint64 Count() const { return flushed_ + pending_; }

    void Append(const IndexRecord &record);
    IndexRecord Read(qint64 number);

private:
    static constexpr qsizetype BufferRecords = 65536; // records written or read at a time
    static constexpr qsizetype FirstBufferRecords = 256; // a small file's index stays small

    static void Encode(const IndexRecord &record, char *out);
    static IndexRecord Decode(const char *in);
    void Flush();
    void FillCache(qint64 number);

    QTemporaryFile file_;
    int cleanupSlot_ = -1; // also removed by a terminating signal while listed there
    std::unique_ptr<char[]> pendingBytes_; // records not yet written, numbered from flushed_
    qint64 pendingCapacity_ = 0;
    qint64 pending_ = 0;
    qint64 flushed_ = 0;
    // Records read back, numbered from cacheFirst_; allocated when records are first read back
    // from the file.
    std::unique_ptr<char[]> cacheBytes_;
    qint64 cacheFirst_ = 0;
    qint64 cacheCount_ = 0;
};
