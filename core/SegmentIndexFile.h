#pragma once

#include <QString>
#include <QtEndian>
#include <QtGlobal>

#include <memory>

// One record of the segment index: where a segment starts and how many bytes it has, without
// its terminator.
struct IndexRecord
{
    qint64 Offset = 0;
    qint32 Length = 0;
};

// The temporary file of 16-byte index records (offset, length, four zero bytes, little-endian)
// that a reader keeps for its file. Records are appended in segment order and read back by
// number; both go through buffers of their own, so neither costs one system call per record.
//
// The file is made only when the records no longer fit the buffer, so a small interchange
// needs none. On Linux it has no name at all (O_TMPFILE): nothing can be left behind, however
// the process ends. Where the file system refuses that, it is named "x12" and six more
// characters, listed for removal by a terminating signal before it exists, and removed by this
// object. Every failure raises EInOutError saying what failed, where and why.
class SegmentIndexFile
{
public:
    static constexpr int RecordSize = 16;

    enum class Naming { Unnamed, Named };

    // folder: where the file goes when one is needed. Named is the fallback's way, for tests.
    explicit SegmentIndexFile(const QString &folder, Naming naming = Naming::Unnamed);
    // In DefaultFolder as it is when the file is made: most indexes never need a file.
    SegmentIndexFile();
    ~SegmentIndexFile();

    SegmentIndexFile(const SegmentIndexFile &) = delete;
    SegmentIndexFile &operator=(const SegmentIndexFile &) = delete;

    // The user's temporary folder: $TMPDIR as it is set, or /tmp.
    static QString DefaultFolder();

    // The file's name while it has one: empty before it is made and when it has none.
    const QString &FileName() const { return fileName_; }
    // Whether the records have gone to a file yet.
    bool HasFile() const { return fd_ >= 0; }
    qint64 Count() const { return flushed_ + pending_; }

    // Inline: the scan appends one record for every segment.
    void Append(const IndexRecord &record)
    {
        if (pending_ == pendingCapacity_) [[unlikely]]
            MakeRoom();
        Encode(record, pendingBytes_.get() + pending_ * RecordSize);
        ++pending_;
    }
    IndexRecord Read(qint64 number);

    // From now on only the latest keep records or more are kept, in memory, and older ones are
    // dropped rather than written, so that no file is made: for a reader that only goes
    // forward. Reading a dropped record raises EInOutError. Set before the first record.
    void DropOlderRecords(qint64 keep);

private:
    static constexpr qsizetype BufferRecords = 65536; // records written or read at a time
    static constexpr qsizetype FirstBufferRecords = 256; // a small file's index stays small

    static void Encode(const IndexRecord &record, char *out)
    {
        qToLittleEndian<qint64>(record.Offset, out);
        qToLittleEndian<qint32>(record.Length, out + 8);
        qToLittleEndian<qint32>(0, out + 12);
    }
    static IndexRecord Decode(const char *in);
    void MakeRoom();
    void Create();
    void CreateNamed();
    void Flush();
    void FillCache(qint64 number);
    [[noreturn]] void Fail(int error, const char *what) const;

    QString folder_;
    bool defaultFolder_ = false; // folder_ is looked up when the file is made
    Naming naming_ = Naming::Unnamed;
    QString fileName_;
    int fd_ = -1;
    int cleanupSlot_ = -1; // removed by a terminating signal while listed there
    std::unique_ptr<char[]> pendingBytes_; // records not yet written, numbered from flushed_
    qint64 pendingCapacity_ = 0;
    qint64 pending_ = 0;
    qint64 flushed_ = 0; // records written, or moved to droppable_
    // While dropping: the records before flushed_, from droppableFirst_ on, that are still
    // readable. Two buffers take turns, so that nothing is copied.
    qint64 keep_ = 0; // 0 while records go to the file
    std::unique_ptr<char[]> droppable_;
    qint64 droppableFirst_ = 0;
    // Records read back, numbered from cacheFirst_; allocated when records are first read back
    // from the file.
    std::unique_ptr<char[]> cacheBytes_;
    qint64 cacheFirst_ = 0;
    qint64 cacheCount_ = 0;
};
