#pragma once

#include "FilePageCache.h"
#include "GFileIO.h"
#include "LineSource.h"

#include <QString>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// How the indexing thread runs: ChunkDelay slows it down by that much a chunk, for tests of
// what happens while it runs.
struct IndexingHooks
{
    std::chrono::microseconds ChunkDelay { 0 };
};

// An X12 file shown as lines while a thread of its own indexes it: the lines indexed so far are
// there at once, and more come as the index grows. Nothing of the file is held but the index
// (in its temporary file) and a few recent pages. The opening's checks (the reader's refusals,
// a temporary folder that cannot hold the index) are made by the constructor, before any
// thread runs; failures of the indexing thread are told by State.
//
// The lines, the state and the progress are read from one thread, the one that made the object.
class IndexedFile : public LineSource
{
public:
    enum class State { Indexing, Complete, Failed, Stopped };

    explicit IndexedFile(const QString &fileName);
    ~IndexedFile() override;

    IndexedFile(const IndexedFile &) = delete;
    IndexedFile &operator=(const IndexedFile &) = delete;

    // Starts the indexing thread.
    void Start(IndexingHooks hooks = {});
    // Stops the indexing thread and waits for it; the lines indexed so far stay.
    void Stop();

    const QString &FileName() const { return fileName_; }
    qint64 FileSize() const { return fileSize_; }
    State CurrentState() const { return state_.load(std::memory_order_acquire); }
    // What failed, once the state is Failed.
    QString FailureMessage() const;
    // Whether the file is known to be no longer what was opened: shorter, or changed while it
    // was read.
    bool ChangedOnDisk() const;
    // How far into the file the lines published reach: every segment that ends before it is
    // a line. May be read from any thread.
    qint64 PublishedBytes() const { return publishedBytes_.load(std::memory_order_acquire); }
    // How much of the file is indexed, 0 to 100.
    int ScanPercent() const { return scanPercent_.load(std::memory_order_relaxed); }
    // The interchanges found so far; segment numbers from 1.
    std::vector<TGFile::Interchange> Interchanges() const;

    qint64 LineCount() override;
    bool Complete() override { return CurrentState() == State::Complete; }
    qint64 LineLength(qint64 line) override;
    qint64 LineStart(qint64 line) override;
    qint64 LineAt(qint64 position) override;
    QByteArray LineBytes(qint64 line, qint64 column, qint64 count) override;
    qsizetype LineHead(qint64 line, char *out, qsizetype max) override;
    qint64 LongestLine() override;
    Delimiters LineDelimiters(qint64 line) override;
    // Reads the file in large blocks and finds the text in them, rather than line by line.
    std::optional<qint64> FindInLines(
        QByteArrayView text, qint64 start, qint64 end, bool matchCase, bool wholeWord) override;

private:
    void Index(const IndexingHooks &hooks);
    void PublishProgress();
    void Fail(const QString &message, bool changed);

    const QString fileName_;
    std::unique_ptr<TGFile> reader_; // the indexing thread's once it runs
    qint64 fileSize_ = 0;
    SegmentIndexFile::Reader index_;
    FilePageCache pages_;

    std::thread thread_;
    std::atomic<bool> stop_ { false };
    std::atomic<State> state_ { State::Indexing };
    std::atomic<int> scanPercent_ { 0 };
    std::atomic<qint64> publishedBytes_ { 0 };
    mutable std::mutex mutex_; // the interchanges, the failure message and the change flag
    std::vector<TGFile::Interchange> interchanges_;
    QString failure_;
    bool changed_ = false;
    bool readFailed_ = false; // a find's read of the file came up short
    // The last line's start asked for, so that lines asked for in order cost one record each.
    qint64 startLine_ = -1;
    qint64 startPosition_ = 0;
    // The interchange of the last line whose delimiters were asked for, and the lines it holds
    // as far as they were known then: [first, end).
    Delimiters lastDelimiters_;
    qint64 delimitersFirst_ = 0;
    qint64 delimitersEnd_ = 0;
};
