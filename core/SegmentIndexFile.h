#pragma once

#include <QString>
#include <QtEndian>
#include <QtGlobal>

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

// One record of the segment index: where a segment starts and how many bytes it has, without
// its terminator.
struct IndexRecord
{
    qint64 Offset = 0;
    qint32 Length = 0;
};

// The temporary file of index records that a reader keeps for its file: 8 bytes a segment, a
// 40-bit offset and a 24-bit length, little-endian; the few segments of 16 MiB or more keep
// their lengths in memory beside it. Records are appended in segment order and read back by
// number; both go through buffers of their own, so neither costs one system call per record.
// Every CheckpointStep records, the index also keeps where the record would start in a text of
// all the segments each followed by one line break (the raw data view's character positions).
//
// The file is made only when the records no longer fit the buffer, or when they are published,
// so a small interchange read in one thread needs none. On Linux it has no name at all
// (O_TMPFILE): nothing can be left behind, however the process ends. Where the file system
// refuses that, it is named "x12" and six more characters, listed for removal by a terminating
// signal before it exists, and removed by this object. Every failure raises EInOutError saying
// what failed, where and why.
//
// One thread appends (the writer); Publish makes what it appended readable by other threads,
// each through a Reader of its own.
class SegmentIndexFile
{
public:
    static constexpr int RecordSize = 8;
    static constexpr qint64 MaxOffset = (qint64(1) << 40) - 1;
    static constexpr qint64 CheckpointStep = 1024;

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

    // The writer's side. Inline: the scan appends one record for every segment.
    qint64 Count() const { return flushed_ + pending_; }
    void Append(const IndexRecord &record)
    {
        if (pending_ == pendingCapacity_) [[unlikely]]
            MakeRoom();
        const qint64 number = flushed_ + pending_;
        const quint32 length = quint32(record.Length);
        qToLittleEndian<quint64>(
            quint64(record.Offset) | (quint64(std::min(length, LongLength)) << 40),
            pendingBytes_.get() + pending_ * RecordSize);
        if (length >= LongLength) [[unlikely]]
            AppendLong(number, record.Length);
        if (number % CheckpointStep == 0) [[unlikely]]
            newCheckpoints_.push_back(position_);
        position_ += record.Length + 1;
        if (record.Length > longest_.second) [[unlikely]]
            longest_ = { number, record.Length };
        ++pending_;
    }
    IndexRecord Read(qint64 number);
    // Makes the index file exist now, so that a folder that cannot hold it is known at once.
    void CreateFile();
    // Writes what was appended and makes it readable by the Readers.
    void Publish();

    // The other threads' side.
    qint64 Published() const { return published_.load(std::memory_order_acquire); }

    // Reads published records for one thread, through a cache of its own.
    class Reader
    {
    public:
        explicit Reader(const SegmentIndexFile &index);

        // The records published so far.
        qint64 Count() const { return writerSide_ ? index_.flushed_ : index_.Published(); }
        // Record number (from 0); it must have been published.
        IndexRecord Read(qint64 number);
        // Where record number starts in the text of every segment followed by a line break;
        // number may be Count(), the end of that text.
        qint64 Position(qint64 number);
        // The record holding position of that text (its line break counts for it); Count()
        // for a position at or past the end.
        qint64 RecordAt(qint64 position);
        // The longest record published so far and its length; -1 and 0 without records.
        std::pair<qint64, qint32> Longest() const;

    private:
        friend class SegmentIndexFile;
        // The writer's own reads: of every record written, published or not.
        Reader(const SegmentIndexFile &index, bool writerSide);
        void Fill(qint64 number);

        const SegmentIndexFile &index_;
        const bool writerSide_ = false;
        std::unique_ptr<char[]> cache_;
        qint64 cacheFirst_ = 0;
        qint64 cacheCount_ = 0;
    };

    // From now on only the latest keep records or more are kept, in memory, and older ones are
    // dropped rather than written, so that no file is made: for a reader that only goes
    // forward. Reading a dropped record raises EInOutError. Set before the first record.
    void DropOlderRecords(qint64 keep);

private:
    static constexpr quint32 LongLength = 0xFFFFFF; // a length kept in memory
    static constexpr qsizetype BufferRecords = 65536; // records written or read at a time
    static constexpr qsizetype FirstBufferRecords = 256; // a small file's index stays small

    static IndexRecord Decode(const char *in);
    void MakeRoom();
    void AppendLong(qint64 number, qint32 length);
    qint32 LongLengthOf(qint64 number) const;
    void Create();
    void CreateNamed();
    void Flush();
    void ReadRecords(char *out, qint64 first, qint64 count) const;
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
    qint64 flushed_ = 0;
    qint64 position_ = 0; // where the next record starts in the text of segments and breaks
    std::pair<qint64, qint32> longest_ { -1, 0 };
    // Appended since the last Publish.
    std::vector<qint64> newCheckpoints_;
    std::vector<std::pair<qint64, qint32>> newLongLengths_;
    // The writer's own reads of written records.
    std::unique_ptr<Reader> ownReads_;

    // What other threads may read: the records below published_, and, under mutex_, the
    // checkpoints, the long lengths and the longest record up to there. Only the writer changes
    // them, under the mutex, and it reads them without it.
    std::atomic<qint64> published_ { 0 };
    mutable std::mutex mutex_;
    std::vector<qint64> checkpoints_; // the position of every CheckpointStep-th record
    std::vector<std::pair<qint64, qint32>> longLengths_; // by record number
    std::pair<qint64, qint32> publishedLongest_ { -1, 0 };
    // While dropping: the records before flushed_, from droppableFirst_ on, that are still
    // readable. Two buffers take turns, so that nothing is copied.
    qint64 keep_ = 0; // 0 while records go to the file
    std::unique_ptr<char[]> droppable_;
    qint64 droppableFirst_ = 0;
};
