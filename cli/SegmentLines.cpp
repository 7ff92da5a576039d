#include "SegmentLines.h"

#include "Exception.h"
#include "GFileIO.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

SegmentLines::SegmentLines(int fd)
    : fd_(fd)
    , block_(new char[BlockSize])
{ }

SegmentLines::~SegmentLines() = default;

namespace {

// Whether a word holds a NUL byte.
template<class Word>
bool HoldsNul(Word word)
{
    constexpr Word Ones = Word(~Word(0)) / 0xFF; // 0x01 in every byte
    constexpr Word High = Ones << 7;
    return ((word - Ones) & ~word & High) != 0;
}

// Copies the word at in + at to out + at; whether it holds a NUL byte.
template<class Word>
bool CopyWord(const char *in, char *out, qsizetype at)
{
    Word word;
    std::memcpy(&word, in + at, sizeof word);
    std::memcpy(out + at, &word, sizeof word);
    return HoldsNul(word);
}

// Copies size bytes from in to out a word at a time, the last word overlapping the one before,
// and returns how many come before the first NUL byte. Segments are short: no call, and the
// bytes are tested once, at the end.
qsizetype CopyToNul(const char *in, qsizetype size, char *out)
{
    bool nul = false;
    if (size >= 8) {
        for (qsizetype i = 0; i + 8 < size; i += 8)
            nul |= CopyWord<quint64>(in, out, i);
        nul |= CopyWord<quint64>(in, out, size - 8);
    } else if (size >= 4) {
        nul = CopyWord<quint32>(in, out, 0) | CopyWord<quint32>(in, out, size - 4);
    } else {
        for (qsizetype i = 0; i < size; ++i)
            nul |= (out[i] = in[i]) == '\0';
    }
    if (!nul) [[likely]]
        return size;
    return static_cast<const char *>(std::memchr(in, '\0', size_t(size))) - in;
}

} // namespace

// On the path of every segment: a few instructions, the rare cases apart.
inline void SegmentLines::Append(QByteArrayView segment)
{
    if (segment.size() >= BlockSize - used_) [[unlikely]] {
        AppendLong(segment);
        return;
    }
    char *out = block_.get() + used_;
    const qsizetype length = CopyToNul(segment.data(), segment.size(), out);
    out[length] = '\n';
    used_ += length + 1;
}

// A segment that does not fit the rest of the block.
void SegmentLines::AppendLong(QByteArrayView segment)
{
    Flush();
    if (segment.size() < BlockSize) {
        Append(segment);
        return;
    }
    // A segment's text ends at its first NUL byte, as SegmentText gives it.
    const void *nul = std::memchr(segment.data(), '\0', size_t(segment.size()));
    WriteAll(
        segment.data(), nul ? static_cast<const char *>(nul) - segment.data() : segment.size());
    block_[used_++] = '\n';
}

void SegmentLines::Flush()
{
    const qsizetype used = used_;
    used_ = 0;
    WriteAll(block_.get(), used);
}

void SegmentLines::WriteAll(const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd_, data, size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw Exception(QStringLiteral("Cannot write the output"));
        data += n;
        size -= n;
    }
}

void SegmentLines::Write(TGFile &reader)
{
    // Nothing is read twice, so no index file is needed; segments are only watched, never
    // made current, so a few records will do, and they stay in the cache.
    reader.KeepNoIndex(256);
    // Every segment is shown whole to the observer, in file order, as the scan reads it.
    reader.SetScanObserver([this](qint64, const IndexRecord &, QByteArrayView segment,
                               const Delimiters &) { Append(segment); },
        TGFile::MaxSegmentLength);
    try {
        reader.SegmentCount();
    } catch (...) {
        // The lines of the segments read before the failure still go out, as they would have
        // line by line; a failure to write them gives way to the reader's own error.
        try {
            Flush();
        } catch (const Exception &) { }
        throw;
    }
    Flush();
}
