#pragma once

#include "Delimiters.h"
#include "InterchangeHeader.h"
#include "ReadAheadBuffer.h"
#include "ReadOnlyFile.h"
#include "SegmentIndexFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <vector>

// Random access by number to the segments of an X12 interchange file, through an index of
// segment positions built on demand and kept in a temporary file.
//
// The file may begin with a UTF-8 byte-order mark, which belongs to no segment. Each
// interchange's header gives the delimiters that hold until the next one. CR, LF, space and tab
// between a terminator and the next segment belong to no segment (unless they are the
// terminator or the element separator), nor do they at the end of the file.
//
// Errors are raised as Exception with the text the user is shown. Not thread-safe: one
// reader is used by one thread at a time.
class TGFile
{
public:
    static constexpr qsizetype ChunkSize = 32768;
    static constexpr qsizetype HeaderReadSize = 127;
    // The longest segment read; a longer run without a terminator is refused while scanning.
    static constexpr qint64 MaxSegmentLength = qint64(256) << 20;
    // How many of a segment's first bytes a scan observer is shown.
    static constexpr qsizetype ObservedHeadLength = 256;

    // One interchange: its ISA segment's number and offset, and what its header says.
    struct Interchange
    {
        qint64 FirstSegment = 1;
        qint64 Offset = 0;
        InterchangeHeader Header;
    };

    // Told of every segment as the scan indexes it, in file order: its number, its offset and
    // length, its first bytes (all of them up to the observer's head limit) and its delimiters.
    // The bytes are valid during the call only.
    using ScanObserver = std::function<void(
        qint64 number, const IndexRecord &record, QByteArrayView head, const Delimiters &)>;

    // Opens the file, checks its ISA header, learns its delimiters and starts the index.
    // On refusal nothing is left open and no index file exists.
    explicit TGFile(const QString &fileName);
    // The same for one file of many, as a search opens them: the file named nameInFolder in the
    // folder held open as folderFd (see ReadOnlyFile), fileName its path. A file that is no X12
    // interchange gives no reader and its refusal's message in refusal, rather than costing an
    // exception; other failures raise Exception as the constructor does.
    static std::unique_ptr<TGFile> OpenInFolder(
        const QString &fileName, int folderFd, QStringView nameInFolder, QString &refusal);
    ~TGFile();

    TGFile(const TGFile &) = delete;
    TGFile &operator=(const TGFile &) = delete;

    // Makes segment number current; a number beyond the last segment makes the last one
    // current. Numbers below 1 raise EInOutError and leave the reader where it was.
    void GotoSegment(qint64 number);
    // The first segment from the current one on whose bytes run past pos (its offset and length
    // reach beyond pos), or the last segment. Scans as far as that needs and fetches nothing: a
    // search passes over the segments that cannot hold what it looks for.
    qint64 SegmentReaching(qint64 pos);
    // Number of segments in the file, scanning the rest of it the first time; afterChunk, when
    // given, runs after each chunk of that scan (to show its progress).
    qint64 SegmentCount(const std::function<void()> &afterChunk = {});
    // The current segment's bytes up to its first NUL byte; valid until the reader next moves.
    QByteArrayView SegmentText() const { return QByteArrayView(buffer_.get(), textLength_); }
    // How much of the file the index covers, in percent of the file's current size.
    qint64 ScanPercent() const;

    // Segment 1 is told at once; set before the scan starts. headLimit: how many of each
    // segment's first bytes the observer is shown; MaxSegmentLength shows every segment whole.
    void SetScanObserver(ScanObserver observer, qsizetype headLimit = ObservedHeadLength);

    // Enough records that the next segment can always be made current, however many segments
    // one chunk ends.
    static constexpr qint64 ForwardRecords = 2 * ChunkSize;
    // For a reader that only goes forward (a search, a watched scan): the index keeps only its
    // latest records, at least latest of them, in memory, and no index file is made.
    // GotoSegment raises EInOutError for a segment whose record has gone. Set before the scan.
    void KeepNoIndex(qint64 latest = ForwardRecords) { indexFile_.DropOlderRecords(latest); }

    // The file's raw bytes from pos on, want of them or fewer where the file ends, read through
    // the reader's own buffer: a small file costs no read beyond the one made when opening it.
    // Valid until the reader next reads; segments and the index are not affected.
    QByteArrayView FileBytes(qint64 pos, qsizetype want) { return data_.Read(pos, want); }

    // The index record of segment number (from 1); the segment must already be indexed.
    IndexRecord SegmentRecord(qint64 number) { return indexFile_.Read(number - 1); }

    const QString &FileName() const { return fileName_; }
    // The first interchange's delimiters.
    char SegmentTerminator() const { return interchanges_.front().Header.Separators.Segment; }
    char ElementSeparator() const { return interchanges_.front().Header.Separators.Element; }
    char ComponentSeparator() const { return interchanges_.front().Header.Separators.Component; }
    // The delimiters in force at segment number (from 1): those of its interchange's header.
    Delimiters SegmentDelimiters(qint64 number) const;
    // The interchanges found so far, in file order; the first is there from the opening on.
    const std::vector<Interchange> &Interchanges() const { return interchanges_; }
    // Where the first ISA begins: 3 after a byte-order mark, 0 otherwise.
    qint64 HeaderOffset() const { return interchanges_.front().Offset; }
    qint64 FileSize() const { return fileSize_; }
    qint64 CurrentSegment() const { return currentSegment_; }
    qint64 TotalSegments() const { return totalSegments_; }
    qint64 IndexedCount() const { return indexFile_.Count(); }
    qint64 ScanPosition() const { return scanPosition_; }
    // The index file's name, while it has one (see SegmentIndexFile).
    const QString &IndexFileName() const { return indexFile_.FileName(); }
    // The index itself, for readers in other threads, and the file read.
    SegmentIndexFile &Index() { return indexFile_; }
    const ReadOnlyFile &File() const { return file_; }

private:
    TGFile(const QString &fileName, int folderFd, QStringView nameInFolder, QString *refusal);
    QString Open();
    void ReserveBuffer(qsizetype needed);
    void SetBuffer(QByteArrayView bytes);
    void FetchSegment(qint64 number);
    void ChunkStep();
    void StartInterchange(qint64 offset, QByteArrayView headerBytes);
    void AddSegment(const IndexRecord &record, QByteArrayView head);
    void KeepHead(QByteArrayView bytes);
    void FinishScan();
    qint64 TrimmedEnd(qint64 start, qint64 end);
    [[noreturn]] void SegmentTooLong() const;

    QString fileName_;
    ReadOnlyFile file_;
    ReadAheadBuffer data_;
    SegmentIndexFile indexFile_;
    qint64 fileSize_ = 0;
    qint64 currentSegment_ = -1;
    qint64 totalSegments_ = -1;
    qint64 scanPosition_ = 0;

    std::vector<Interchange> interchanges_;
    Delimiters delimiters_; // those of the interchange being scanned
    std::array<bool, 256> between_ {}; // bytes skipped between its segments
    ScanObserver observer_;

    // A scan stopped inside a segment resumes at scanPosition_ with the segment begun at
    // segmentStart_; -1 when it stopped between segments. The segment's first bytes are kept
    // across chunks in head_.
    qint64 segmentStart_ = -1;
    bool afterIea_ = false; // the last segment indexed closed an interchange
    std::vector<char> head_;
    qsizetype headLength_ = 0;
    qsizetype headLimit_ = ObservedHeadLength;

    std::unique_ptr<char[]> buffer_; // the current segment's bytes followed by a NUL byte
    qsizetype bufferCapacity_ = 0;
    qsizetype textLength_ = 0; // bytes before the first NUL
};
