#include "GFileIO.h"

#include "Exception.h"
#include "FileNames.h"

#include <QLocale>

#include <algorithm>
#include <cstring>

namespace {

constexpr qint64 SmallestFile = 107; // the 106-byte header and one more byte
constexpr QByteArrayView ByteOrderMark("\xEF\xBB\xBF");
constexpr qsizetype SmallBuffer = qsizetype(1) << 20; // kept after a longer segment goes

// Whether a segment whose first bytes are head is an IEA. On the scan's path for every segment.
inline bool IsIea(const char *head, qsizetype length, char elementSeparator)
{
    return length >= 3 && head[0] == 'I' && head[1] == 'E' && head[2] == 'A'
        && (length == 3 || head[3] == elementSeparator);
}

} // namespace

TGFile::TGFile(const QString &fileName)
    : TGFile(fileName, -1, {}, nullptr)
{ }

TGFile::TGFile(const QString &fileName, int folderFd, QStringView nameInFolder, QString *refusal)
    : fileName_(fileName)
    , file_(fileName, folderFd, nameInFolder)
    , data_(file_)
{
    const QString refused = Open();
    if (refused.isEmpty())
        return;
    if (!refusal)
        throw ENotX12(refused);
    *refusal = refused;
}

std::unique_ptr<TGFile> TGFile::OpenInFolder(
    const QString &fileName, int folderFd, QStringView nameInFolder, QString &refusal)
{
    refusal.clear();
    std::unique_ptr<TGFile> reader(new TGFile(fileName, folderFd, nameInFolder, &refusal));
    if (!refusal.isEmpty())
        reader.reset();
    return reader;
}

TGFile::~TGFile() = default;

// Checks the size and the header and starts the first interchange; the refusal's message, or
// an empty one when the file is an X12 interchange.
QString TGFile::Open()
{
    fileSize_ = file_.OpenedSize();
    data_.SetLimit(fileSize_);
    if (fileSize_ == 0)
        return QStringLiteral("Empty file.");
    if (fileSize_ > SegmentIndexFile::MaxOffset)
        throw Exception(QStringLiteral("The file is larger than 1 TiB, the largest Brimlet reads"));

    // The byte-order mark counts for none of the checks below: they start at the "ISA".
    QByteArrayView start = data_.Read(0, InterchangeHeader::ScanLimit + ByteOrderMark.size());
    const qsizetype mark
        = start.startsWith(ByteOrderMark) && start.sliced(ByteOrderMark.size()).startsWith("ISA")
        ? ByteOrderMark.size()
        : 0;
    start = start.sliced(mark);
    if (fileSize_ - mark < SmallestFile)
        return QStringLiteral("Invalid X12 file");
    if (start.size() < HeaderReadSize)
        return QStringLiteral("Stream read error");
    if (!start.startsWith("ISA"))
        return QStringLiteral("Not a valid X12 file.");

    StartInterchange(mark, start.first(std::min(start.size(), InterchangeHeader::ScanLimit)));
    SetBuffer(start.first(interchanges_.back().Header.TextLength));
    currentSegment_ = 1;
    return {};
}

// Begins the interchange whose header starts at offset and indexes its ISA segment.
void TGFile::StartInterchange(qint64 offset, QByteArrayView headerBytes)
{
    const InterchangeHeader header = InterchangeHeader::Parse(headerBytes);
    interchanges_.push_back({ IndexedCount() + 1, offset, header });
    delimiters_ = header.Separators;
    between_.fill(false);
    for (const char c : { '\r', '\n', ' ', '\t' })
        between_[uchar(c)] = c != delimiters_.Segment && c != delimiters_.Element;
    const IndexRecord record { offset, qint32(header.TextLength) };
    AddSegment(record, headerBytes.first(header.TextLength));
    scanPosition_ = offset + header.Length();
    segmentStart_ = -1;
    afterIea_ = false;
}

void TGFile::AddSegment(const IndexRecord &record, QByteArrayView head)
{
    indexFile_.Append(record);
    if (observer_)
        observer_(
            IndexedCount(), record, head.first(std::min(head.size(), headLimit_)), delimiters_);
}

void TGFile::SetScanObserver(ScanObserver observer, qsizetype headLimit)
{
    observer_ = std::move(observer);
    headLimit_ = std::clamp<qsizetype>(headLimit, ObservedHeadLength, MaxSegmentLength);
    if (observer_ && IndexedCount() == 1) {
        const IndexRecord first = indexFile_.Read(0);
        observer_(1, first, data_.Read(first.Offset, first.Length), delimiters_);
    }
}

Delimiters TGFile::SegmentDelimiters(qint64 number) const
{
    const auto after = std::upper_bound(interchanges_.begin(), interchanges_.end(), number,
        [](qint64 n, const Interchange &i) { return n < i.FirstSegment; });
    return after == interchanges_.begin() ? interchanges_.front().Header.Separators
                                          : std::prev(after)->Header.Separators;
}

void TGFile::ReserveBuffer(qsizetype needed)
{
    // A buffer grown for a long segment is given back once shorter ones follow.
    if (needed <= bufferCapacity_ && (bufferCapacity_ <= 4 * SmallBuffer || needed > SmallBuffer))
        return;
    // A small file's reader stays small; a buffer that grows at least doubles, up to 1 MiB.
    const qsizetype grown
        = needed > bufferCapacity_ ? std::min(2 * bufferCapacity_, SmallBuffer) : 0;
    const qsizetype capacity = std::max({ needed, grown, qsizetype(1024) });
    // The old buffer goes first; the capacity changes only once the new one is there.
    buffer_.reset();
    bufferCapacity_ = 0;
    buffer_.reset(new char[capacity]);
    bufferCapacity_ = capacity;
}

// bytes may lie in the buffer itself, at its start, where ReserveBuffer has made room for them.
void TGFile::SetBuffer(QByteArrayView bytes)
{
    if (bytes.data() != buffer_.get() || !buffer_)
        ReserveBuffer(bytes.size() + 1);
    buffer_[bytes.size()] = '\0';
    textLength_ = 0;
    if (bytes.isEmpty()) // an empty view may carry no data pointer at all
        return;
    if (bytes.data() != buffer_.get())
        std::memcpy(buffer_.get(), bytes.data(), size_t(bytes.size()));
    const void *nul = std::memchr(buffer_.get(), '\0', size_t(bytes.size()));
    textLength_ = nul ? static_cast<const char *>(nul) - buffer_.get() : bytes.size();
}

qint64 TGFile::ScanPercent() const
{
    // The file may have shrunk to nothing since it was opened.
    const qint64 size = file_.Size();
    if (size <= 0)
        return 100;
    return scanPosition_ * 100 / size;
}

void TGFile::GotoSegment(qint64 number)
{
    if (number == currentSegment_)
        return;
    if (totalSegments_ >= 0 && number > totalSegments_) {
        GotoSegment(totalSegments_);
        return;
    }
    if (number <= IndexedCount()) {
        FetchSegment(number);
        return;
    }
    while (number > IndexedCount() && totalSegments_ < 0)
        ChunkStep();
    // Beyond the last segment, the call above makes the last one current.
    GotoSegment(number);
}

qint64 TGFile::SegmentReaching(qint64 pos)
{
    for (qint64 number = currentSegment_;; ++number) {
        while (number > IndexedCount() && totalSegments_ < 0)
            ChunkStep();
        if (number > IndexedCount())
            return IndexedCount();
        const IndexRecord record = indexFile_.Read(number - 1);
        if (record.Offset + record.Length > pos)
            return number;
    }
}

qint64 TGFile::SegmentCount(const std::function<void()> &afterChunk)
{
    // The scan leaves the current segment where it is, whatever happens during it.
    while (totalSegments_ == -1) {
        ChunkStep();
        if (afterChunk)
            afterChunk();
    }
    return totalSegments_;
}

void TGFile::FetchSegment(qint64 number)
{
    const IndexRecord record = indexFile_.Read(number - 1);
    if (record.Length <= ReadAheadBuffer::DefaultBlockSize) {
        SetBuffer(data_.Read(record.Offset, record.Length));
    } else {
        // A long segment is read straight into the segment buffer, never held twice.
        ReserveBuffer(record.Length + 1);
        if (file_.ReadAt(record.Offset, buffer_.get(), record.Length) < record.Length)
            throw EFileChanged(FileNames::Display(file_.Path()));
        SetBuffer(QByteArrayView(buffer_.get(), record.Length));
    }
    currentSegment_ = number;
}

// Keeps the first bytes of the segment in progress, as far as bytes hold them.
void TGFile::KeepHead(QByteArrayView bytes)
{
    const qsizetype n = std::min(bytes.size(), headLimit_ - headLength_);
    if (n <= 0)
        return;
    if (head_.size() < size_t(headLength_ + n))
        head_.resize(std::max<size_t>(size_t(headLength_ + n), ObservedHeadLength));
    std::memcpy(head_.data() + headLength_, bytes.data(), size_t(n));
    headLength_ += n;
}

void TGFile::SegmentTooLong() const
{
    throw Exception(
        QStringLiteral("Segment %1 is longer than %2 bytes, the longest segment Brimlet "
                       "reads: its terminator \"%3\" is missing or not the file's")
            .arg(IndexedCount() + 1)
            .arg(QLocale::system().toString(MaxSegmentLength))
            .arg(QString::fromLatin1(&delimiters_.Segment, 1)));
}

// Indexes every segment completed in one chunk read from ScanPosition. The chunk that reaches
// the end of the file fixes the total.
void TGFile::ChunkStep()
{
    const qint64 base = scanPosition_;
    const QByteArrayView chunk = data_.Read(base, ChunkSize);
    const char *bytes = chunk.data();
    const qsizetype got = chunk.size();
    const bool atEnd = got < ChunkSize;
    const char terminator = delimiters_.Segment;
    const char element = delimiters_.Element;
    const bool *between = between_.data();
    const bool observing = bool(observer_);
    // Kept in locals while the chunk is walked: the walk calls out for every segment.
    qint64 start = segmentStart_;
    bool afterIea = afterIea_;

    // A segment begun in an earlier chunk: its head may still be short.
    if (start >= 0 && headLength_ < headLimit_) {
        const void *hit = got > 0 ? std::memchr(bytes, terminator, size_t(got)) : nullptr;
        KeepHead(chunk.first(hit ? static_cast<const char *>(hit) - bytes : got));
    }
    qsizetype i = 0;
    while (i < got) {
        if (start < 0) {
            while (i < got && between[uchar(bytes[i])])
                ++i;
            if (i == got)
                break;
            if (afterIea) [[unlikely]] {
                // A new interchange may begin here, with delimiters of its own; its header is
                // read whole from this chunk, or from the next one, which starts with it.
                const qsizetype available = got - i;
                segmentStart_ = -1;
                afterIea_ = true;
                if (!atEnd && available < InterchangeHeader::ScanLimit) {
                    scanPosition_ = base + i;
                    return;
                }
                afterIea_ = afterIea = false;
                const QByteArrayView rest = chunk.sliced(i);
                if (rest.startsWith("ISA")
                    && fileSize_ - (base + i) >= InterchangeHeader::StandardLength) {
                    StartInterchange(
                        base + i, rest.first(std::min(available, InterchangeHeader::ScanLimit)));
                    return;
                }
            }
            start = base + i;
        }
        const void *hit = std::memchr(bytes + i, terminator, size_t(got - i));
        if (!hit) {
            if (start >= base) {
                // A buffer grown for a long segment shown whole goes with it.
                if (head_.size() > size_t(SmallBuffer))
                    head_ = {};
                headLength_ = 0;
                KeepHead(chunk.sliced(start - base));
            }
            break;
        }
        const qsizetype at = static_cast<const char *>(hit) - bytes;
        const qint64 length = base + at - start;
        if (length > MaxSegmentLength) [[unlikely]]
            SegmentTooLong();
        const IndexRecord record { start, qint32(length) };
        indexFile_.Append(record);
        // The segment's first bytes, in the chunk or kept from the chunks it began in, are
        // looked at only to tell an IEA, or for an observer.
        const char *head = start >= base ? bytes + (start - base) : head_.data();
        if (head[0] == 'I' || observing) [[unlikely]] {
            const qsizetype headLength
                = start >= base ? qsizetype(std::min<qint64>(length, headLimit_)) : headLength_;
            afterIea = IsIea(head, headLength, element);
            if (observing)
                observer_(IndexedCount(), record, QByteArrayView(head, headLength), delimiters_);
        }
        start = -1;
        i = at + 1;
    }
    segmentStart_ = start;
    afterIea_ = afterIea;
    scanPosition_ = base + got;
    if (start >= 0 && scanPosition_ - start > MaxSegmentLength)
        SegmentTooLong();
    if (atEnd)
        FinishScan();
}

// The end of the file: an unterminated last segment, without whitespace at its end, is the
// last segment; whitespace alone is none. The file must still have the size it had at opening.
void TGFile::FinishScan()
{
    if (segmentStart_ >= 0) {
        const qint64 end = TrimmedEnd(segmentStart_, scanPosition_);
        if (end > segmentStart_) {
            const qint64 length = end - segmentStart_;
            const QByteArrayView head(head_.data(), std::min<qint64>(headLength_, length));
            AddSegment({ segmentStart_, qint32(length) }, head);
        }
        segmentStart_ = -1;
    }
    if (file_.Size() != fileSize_)
        throw EFileChanged(FileNames::Display(file_.Path()));
    totalSegments_ = IndexedCount();
}

// Where the bytes from start to end end without the whitespace after them.
qint64 TGFile::TrimmedEnd(qint64 start, qint64 end)
{
    while (end > start) {
        const qsizetype step = qsizetype(std::min<qint64>(4096, end - start));
        const QByteArrayView bytes = data_.Read(end - step, step);
        qsizetype k = bytes.size();
        while (k > 0 && between_[uchar(bytes[k - 1])])
            --k;
        end -= step - k;
        if (k > 0)
            break;
    }
    return end;
}
