#include "IndexedFile.h"

#include "Exception.h"
#include "TextMatch.h"

#include <algorithm>
#include <chrono>
#include <new>
#include <vector>

namespace {

// The first lines are published once this much of the file is indexed, and then at this pace:
// the first screen shows at once, and the thread spends little on publishing.
constexpr qint64 FirstScreenBytes = 64 * 1024;
constexpr auto PublishInterval = std::chrono::milliseconds(25);

// Raised in the indexing thread to end it early.
struct StopIndexing
{
};

} // namespace

IndexedFile::IndexedFile(const QString &fileName)
    : fileName_(fileName)
    , reader_(std::make_unique<TGFile>(fileName))
    , fileSize_(reader_->FileSize())
    , index_(reader_->Index())
    , pages_(reader_->File(), fileSize_)
{
    // Known now rather than in the thread: a temporary folder that cannot hold the index.
    reader_->Index().CreateFile();
    reader_->Index().Publish();
    publishedBytes_ = reader_->ScanPosition();
    interchanges_ = reader_->Interchanges();
}

IndexedFile::~IndexedFile()
{
    Stop();
}

void IndexedFile::Start(IndexingHooks hooks)
{
    if (thread_.joinable())
        return;
    thread_ = std::thread([this, hooks] { Index(hooks); });
}

void IndexedFile::Stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void IndexedFile::Index(const IndexingHooks &hooks)
{
    const std::chrono::microseconds chunkDelay = hooks.ChunkDelay;
    try {
        auto lastPublished = std::chrono::steady_clock::now();
        bool firstScreen = false;
        reader_->SegmentCount([&] {
            if (stop_.load(std::memory_order_relaxed))
                throw StopIndexing();
            if (chunkDelay.count() > 0)
                std::this_thread::sleep_for(chunkDelay);
            const auto now = std::chrono::steady_clock::now();
            const bool screenReady = !firstScreen && reader_->ScanPosition() >= FirstScreenBytes;
            if (screenReady || now - lastPublished >= PublishInterval) {
                firstScreen = true;
                lastPublished = now;
                PublishProgress();
            }
        });
        PublishProgress();
        state_.store(State::Complete, std::memory_order_release);
    } catch (const StopIndexing &) {
        state_.store(State::Stopped, std::memory_order_release);
    } catch (const EFileChanged &e) {
        Fail(e.Message(), true);
    } catch (const Exception &e) {
        Fail(e.Message(), false);
    } catch (const std::bad_alloc &) {
        Fail(QStringLiteral("Out of memory."), false);
    }
}

void IndexedFile::PublishProgress()
{
    reader_->Index().Publish();
    publishedBytes_.store(reader_->ScanPosition(), std::memory_order_release);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        const std::vector<TGFile::Interchange> &found = reader_->Interchanges();
        interchanges_.insert(
            interchanges_.end(), found.begin() + qsizetype(interchanges_.size()), found.end());
    }
    scanPercent_.store(
        int(std::clamp<qint64>(reader_->ScanPercent(), 0, 100)), std::memory_order_relaxed);
}

void IndexedFile::Fail(const QString &message, bool changed)
{
    // What was indexed before the failure stays readable.
    try {
        PublishProgress();
    } catch (const std::exception &) {
        // The index itself failed: the lines published before stay.
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        failure_ = message;
        changed_ = changed_ || changed;
    }
    state_.store(State::Failed, std::memory_order_release);
}

QString IndexedFile::FailureMessage() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
}

bool IndexedFile::ChangedOnDisk() const
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (changed_)
            return true;
    }
    return pages_.Failed() || readFailed_ || reader_->File().Size() != fileSize_;
}

std::vector<TGFile::Interchange> IndexedFile::Interchanges() const
{
    const std::lock_guard<std::mutex> lock(mutex_);
    return interchanges_;
}

qint64 IndexedFile::LineCount()
{
    return index_.Count();
}

qint64 IndexedFile::LineLength(qint64 line)
{
    return line >= 0 && line < index_.Count() ? index_.Read(line).Length : 0;
}

qint64 IndexedFile::LineStart(qint64 line)
{
    if (line == startLine_)
        return startPosition_;
    const qint64 position = startLine_ >= 0 && line == startLine_ + 1 && line <= index_.Count()
        ? startPosition_ + index_.Read(startLine_).Length + 1
        : index_.Position(line);
    startLine_ = line;
    startPosition_ = position;
    return position;
}

qint64 IndexedFile::LineAt(qint64 position)
{
    return index_.RecordAt(position);
}

QByteArray IndexedFile::LineBytes(qint64 line, qint64 column, qint64 count)
{
    if (line < 0 || line >= index_.Count() || column < 0 || count <= 0)
        return {};
    const IndexRecord record = index_.Read(line);
    const qint64 wanted = std::min<qint64>(count, record.Length - column);
    if (wanted <= 0)
        return {};
    return pages_.Read(record.Offset + column, wanted);
}

qsizetype IndexedFile::LineHead(qint64 line, char *out, qsizetype max)
{
    if (line < 0 || line >= index_.Count() || max <= 0)
        return 0;
    const IndexRecord record = index_.Read(line);
    return qsizetype(pages_.ReadInto(record.Offset, out, std::min<qint64>(max, record.Length)));
}

qint64 IndexedFile::LongestLine()
{
    return index_.Longest().first;
}

Delimiters IndexedFile::LineDelimiters(qint64 line)
{
    const qint64 segment = line + 1;
    if (segment >= delimitersFirst_ && segment < delimitersEnd_)
        return lastDelimiters_;
    const qint64 published = index_.Count();
    const std::lock_guard<std::mutex> lock(mutex_);
    const auto after = std::upper_bound(interchanges_.begin(), interchanges_.end(), segment,
        [](qint64 n, const TGFile::Interchange &i) { return n < i.FirstSegment; });
    const auto holding = after == interchanges_.begin() ? interchanges_.begin() : std::prev(after);
    // Up to the next interchange, or to the lines there are now: a later one may begin after.
    lastDelimiters_ = holding->Header.Separators;
    delimitersFirst_ = holding->FirstSegment;
    delimitersEnd_ = after == interchanges_.end() ? published + 1 : after->FirstSegment;
    return lastDelimiters_;
}

std::optional<qint64> IndexedFile::FindInLines(
    QByteArrayView text, qint64 start, qint64 end, bool matchCase, bool wholeWord)
{
    const qint64 n = text.size();
    const qint64 count = index_.Count();
    qint64 line = index_.RecordAt(start);
    if (n == 0 || line >= count || start + n > end)
        return -1;
    // The file's bytes from where start stands to where end does.
    const auto fileOffsetOf = [&](qint64 position, qint64 &atLine) {
        atLine = index_.RecordAt(position);
        if (atLine >= count)
            return fileSize_;
        const IndexRecord record = index_.Read(atLine);
        return record.Offset + std::min<qint64>(position - index_.Position(atLine), record.Length);
    };
    qint64 endLine = 0;
    const qint64 fileEnd = std::min(fileSize_, fileOffsetOf(end, endLine) + n);
    qint64 fileFrom = fileOffsetOf(start, line);

    // The record the next candidate is matched against, and where its text starts.
    IndexRecord record = index_.Read(line);
    qint64 recordStart = index_.Position(line);
    constexpr qint64 Block = qint64(1) << 20;
    std::vector<char> block(size_t(Block + n));
    while (fileFrom + n <= fileEnd) {
        const qint64 want = std::min<qint64>(Block + n - 1, fileEnd - fileFrom);
        const qint64 got = reader_->File().ReadAt(fileFrom, block.data(), want);
        if (got < want) {
            readFailed_ = true;
            return -1;
        }
        const QByteArrayView bytes(block.data(), got);
        for (qint64 at = 0;; ++at) {
            at = TextMatch::Find(bytes, text, at, got, matchCase, false);
            if (at < 0)
                break;
            const qint64 offset = fileFrom + at;
            // The record in which a match ending here would lie.
            while (record.Offset + record.Length < offset + n) {
                recordStart += record.Length + 1;
                if (++line >= count)
                    return -1;
                record = index_.Read(line);
            }
            if (offset < record.Offset)
                continue; // across the bytes between two segments
            const qint64 position = recordStart + (offset - record.Offset);
            if (position + n > end)
                return -1;
            if (position < start)
                continue;
            // A neighbour inside the segment, read from the block or, at its edges, the file.
            const auto wordAt = [&](qint64 fileOffset) {
                if (fileOffset < record.Offset || fileOffset >= record.Offset + record.Length)
                    return false;
                char byte = 0;
                if (fileOffset >= fileFrom && fileOffset < fileFrom + got)
                    byte = bytes[fileOffset - fileFrom];
                else if (pages_.ReadInto(fileOffset, &byte, 1) != 1)
                    return false;
                return TextMatch::IsWordChar(uchar(byte));
            };
            const bool bounded = !wholeWord || (!wordAt(offset - 1) && !wordAt(offset + n));
            if (bounded)
                return position;
        }
        fileFrom += got - n + 1;
    }
    return -1;
}
