#pragma once

#include "Delimiters.h"
#include "ReadAheadBuffer.h"
#include "SegmentIndexFile.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <functional>
#include <memory>

// Random access by number to the segments of one X12 interchange file, through an index of
// segment positions built on demand and kept in a temporary file.
//
// Errors are raised as Exception with the text the user is shown. Not thread-safe: one
// reader is used by one thread at a time.
class TGFile
{
public:
    static constexpr qsizetype ChunkSize = 32768;
    static constexpr qsizetype HeaderReadSize = 127;

    // Opens the file, checks its ISA header, learns its delimiters and starts the index.
    // On refusal nothing is left open and no index file exists.
    explicit TGFile(const QString &fileName);
    ~TGFile();

    TGFile(const TGFile &) = delete;
    TGFile &operator=(const TGFile &) = delete;

    // Makes segment number current; a number beyond the last segment makes the last one
    // current. Numbers below 1 raise EInOutError and leave the reader where it was.
    void GotoSegment(qint64 number);
    // Number of segments in the file, scanning the rest of it the first time; afterChunk, when
    // given, runs after each chunk of that scan (to show its progress).
    qint64 SegmentCount(const std::function<void()> &afterChunk = {});
    // The current segment's bytes up to its first NUL byte; valid until the reader next moves.
    QByteArrayView SegmentText() const { return QByteArrayView(buffer_.get(), textLength_); }
    // How much of the file the index covers, in percent of the file's current size.
    qint64 ScanPercent() const;

    // The file's raw bytes from pos on, want of them or fewer where the file ends, read through
    // the reader's own buffer: a small file costs no read beyond the one made when opening it.
    // Valid until the reader next reads; segments and the index are not affected.
    QByteArrayView FileBytes(qint64 pos, qsizetype want) { return data_.Read(pos, want); }

    // The index record of segment number (from 1); the segment must already be indexed.
    IndexRecord SegmentRecord(qint64 number) { return indexFile_->Read(number - 1); }

    const QString &FileName() const { return fileName_; }
    char SegmentTerminator() const { return segmentTerminator_; }
    char ElementSeparator() const { return elementSeparator_; }
    char ComponentSeparator() const { return componentSeparator_; }
    // The delimiters in force at segment number (from 1): those of its interchange's header.
    Delimiters SegmentDelimiters(qint64 number) const;
    qint64 FileSize() const { return fileSize_; }
    qint64 CurrentSegment() const { return currentSegment_; }
    qint64 TotalSegments() const { return totalSegments_; }
    qint64 IndexedCount() const { return indexFile_->Count(); }
    qint64 ScanPosition() const { return scanPosition_; }
    int LineBreakLength() const { return lineBreakLength_; }
    const QString &IndexFileName() const { return indexFileName_; }

private:
    static constexpr qsizetype MaxChunkSize = qsizetype(1) << 30;

    [[noreturn]] void Refuse(const QString &message);
    void SetBuffer(QByteArrayView bytes);
    void FetchSegment(qint64 number);
    bool ChunkStep(qint64 number);
    QByteArrayView ReadUntil(qint64 pos, bool stopAtTerminator, bool &atEnd);
    void ReadTail();

    QString fileName_;
    char segmentTerminator_ = 0;
    char elementSeparator_ = 0;
    char componentSeparator_ = 0;
    char repetitionSeparator_ = 0;
    qint64 fileSize_ = 0;
    qint64 currentSegment_ = -1;
    qint64 totalSegments_ = -1;
    qint64 scanPosition_ = 0;
    int lineBreakLength_ = 0;
    IndexRecord indexRecord_; // working record of a scan
    QString indexFileName_;

    QFile stream_;
    ReadAheadBuffer data_;
    std::unique_ptr<SegmentIndexFile> indexFile_;
    std::unique_ptr<char[]> buffer_; // the current segment's bytes followed by a NUL byte
    qsizetype bufferCapacity_ = 0;
    qsizetype textLength_ = 0; // bytes before the first NUL
};
