#include "GFileIO.h"

#include "Exception.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr qint64 HeaderLength = 105; // the ISA header without its terminator
constexpr qint64 SmallestFile = 107; // the 106-byte header and one more byte

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

TGFile::TGFile(const QString &fileName)
    : fileName_(fileName)
    , stream_(fileName)
    , data_(stream_)
{
    // A FIFO or device would block the open or the reads; only regular files are read.
    const QFileInfo info(fileName);
    if (info.exists() && !info.isFile() && !info.isDir())
        Refuse(QStringLiteral("Cannot open file \"%1\". Not a regular file")
                   .arg(QDir::toNativeSeparators(info.absoluteFilePath())));
    if (!stream_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        Refuse(QStringLiteral("Cannot open file \"%1\". %2")
                   .arg(QDir::toNativeSeparators(info.absoluteFilePath()), stream_.errorString()));

    fileSize_ = stream_.size();
    data_.SetLimit(fileSize_);
    if (fileSize_ == 0)
        Refuse(QStringLiteral("Empty file."));
    if (fileSize_ < SmallestFile)
        Refuse(QStringLiteral("Invalid X12 file"));

    const QByteArrayView header = data_.Read(0, HeaderReadSize);
    if (header.size() < HeaderReadSize)
        Refuse(QStringLiteral("Stream read error"));
    if (!header.startsWith("ISA"))
        Refuse(QStringLiteral("Not a valid X12 file."));

    elementSeparator_ = header[3];
    componentSeparator_ = header[104];
    segmentTerminator_ = header[105];
    // ISA11 repeats elements from version 00402 on; before that it is a letter ("U").
    const char isa11 = header[82];
    if (!QChar::isLetterOrNumber(uchar(isa11)) && isa11 != ' ' && isa11 != elementSeparator_
        && isa11 != componentSeparator_ && isa11 != segmentTerminator_)
        repetitionSeparator_ = isa11;
    if (header[106] == '\r' && header[107] == '\n')
        lineBreakLength_ = 2;
    else if (header[106] == '\n')
        lineBreakLength_ = 1;
    SetBuffer(header.first(HeaderLength));

    // A temporary folder that does not exist comes back empty: never fall back to the root.
    const QString tempFolder = QDir::tempPath();
    if (tempFolder.isEmpty())
        throw EInOutError(ENOENT);
    indexFile_ = std::make_unique<SegmentIndexFile>(tempFolder);
    // Asking for the name gives the file its "x12" name in the folder at once.
    indexFileName_ = indexFile_->FileName();
    indexFile_->Append({ 0, qint32(HeaderLength) });

    scanPosition_ = HeaderLength + 1 + lineBreakLength_;
    currentSegment_ = 1;
}

TGFile::~TGFile() = default;

void TGFile::Refuse(const QString &message)
{
    stream_.close();
    throw Exception(message);
}

void TGFile::SetBuffer(QByteArrayView bytes)
{
    if (bytes.size() + 1 > bufferCapacity_) {
        // The capacity changes only once the larger buffer is there.
        const qsizetype capacity = std::max(bytes.size() + 1, ChunkSize + 1);
        buffer_.reset(new char[capacity]);
        bufferCapacity_ = capacity;
    }
    buffer_[bytes.size()] = '\0';
    textLength_ = 0;
    if (bytes.isEmpty()) // an empty view may carry no data pointer at all
        return;
    std::memcpy(buffer_.get(), bytes.data(), size_t(bytes.size()));
    const void *nul = std::memchr(bytes.data(), '\0', size_t(bytes.size()));
    textLength_ = nul ? static_cast<const char *>(nul) - bytes.data() : bytes.size();
}

Delimiters TGFile::SegmentDelimiters(qint64 number) const
{
    Q_UNUSED(number);
    return { elementSeparator_, componentSeparator_, repetitionSeparator_, segmentTerminator_ };
}

qint64 TGFile::ScanPercent() const
{
    // The file may have shrunk to nothing since it was opened.
    const qint64 size = stream_.size();
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
    bool found = false;
    while (!found && totalSegments_ < 0)
        found = ChunkStep(number);
    // Beyond the last segment, the call above makes the last one current.
    GotoSegment(number);
}

qint64 TGFile::SegmentCount(const std::function<void()> &afterChunk)
{
    const qint64 remembered = currentSegment_;
    while (totalSegments_ == -1) {
        GotoSegment(IndexedCount() + 1);
        if (afterChunk)
            afterChunk();
    }
    GotoSegment(remembered);
    return totalSegments_;
}

void TGFile::FetchSegment(qint64 number)
{
    const IndexRecord record = indexFile_->Read(number - 1);
    // Bytes the file no longer has are simply missing from the text.
    SetBuffer(data_.Read(record.Offset, record.Length));
    currentSegment_ = number;
}

// Reads from pos a chunk of ChunkSize bytes or, while a full chunk holds no terminator (or, for
// the tail, while the file goes on), one twice as large, so that a segment of any length is
// read whole. atEnd tells whether the read reached the end of the file.
QByteArrayView TGFile::ReadUntil(qint64 pos, bool stopAtTerminator, bool &atEnd)
{
    for (qsizetype size = ChunkSize;; size *= 2) {
        const QByteArrayView bytes = data_.Read(pos, size);
        atEnd = bytes.size() < size;
        if (atEnd || (stopAtTerminator && std::memchr(bytes.data(), segmentTerminator_, size)))
            return bytes;
        // The index records a segment's length in 32 bits.
        if (size >= MaxChunkSize)
            throw EInOutError(EFBIG);
    }
}

// Indexes every segment completed in one chunk read from ScanPosition and tells whether segment
// number was among them. The chunk that reaches the end of the file fixes the total.
bool TGFile::ChunkStep(qint64 number)
{
    const qsizetype step = 1 + lineBreakLength_; // terminator and the line break skipped unseen
    bool atEnd = false;
    const QByteArrayView chunk = ReadUntil(scanPosition_, true, atEnd);
    const char *bytes = chunk.data();
    const qsizetype got = chunk.size();

    indexRecord_ = { scanPosition_, 0 };
    bool found = false;
    bool lastWasTerminator = false;
    qsizetype i = 0;
    while (i < got) {
        const void *hit = std::memchr(bytes + i, segmentTerminator_, size_t(got - i));
        if (!hit) {
            indexRecord_.Length += qint32(got - i);
            lastWasTerminator = false;
            break;
        }
        const qsizetype at = static_cast<const char *>(hit) - bytes;
        indexRecord_.Length += qint32(at - i);
        lastWasTerminator = true;
        indexFile_->Append(indexRecord_);
        i = at + step;
        indexRecord_.Offset += indexRecord_.Length + step;
        indexRecord_.Length = 0;
        scanPosition_ = indexRecord_.Offset;
        if (number == IndexedCount())
            found = true;
    }

    // After a full chunk, the bytes past its last terminator are read again by the next step.
    if (!atEnd)
        return found;
    if (lastWasTerminator)
        totalSegments_ = IndexedCount();
    else
        ReadTail();
    return found;
}

// The bytes after the last terminator, read again together with the line break before them:
// nothing, a bare line break, or the last segment without its terminator.
void TGFile::ReadTail()
{
    const qint64 pos = scanPosition_ - lineBreakLength_;
    bool atEnd = false;
    const QByteArrayView tail = ReadUntil(pos, false, atEnd);
    if (tail.isEmpty()) {
        totalSegments_ = IndexedCount();
        return;
    }
    scanPosition_ = pos + tail.size();
    if (tail == "\n" || tail == "\r\n") {
        totalSegments_ = IndexedCount();
        return;
    }

    // At most two line-break bytes go from each end.
    const char *bytes = tail.data();
    qsizetype length = tail.size();
    qint64 offset = pos;
    if (bytes[length - 1] == '\n')
        --length;
    if (length > 0 && IsLineBreak(bytes[length - 1]))
        --length;
    for (int k = 0; k < 2 && length > 0 && IsLineBreak(bytes[offset - pos]); ++k) {
        ++offset;
        --length;
    }
    indexRecord_ = { offset, qint32(length) };
    if (length > 0)
        indexFile_->Append(indexRecord_);
    totalSegments_ = IndexedCount();
}
