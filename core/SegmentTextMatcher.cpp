#include "SegmentTextMatcher.h"

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

char UpperAscii(char c)
{
    return uchar(c - 'a') < 26 ? char(c - 'a' + 'A') : c;
}

// Upper-cases the ASCII letters a to z of length bytes from in to out, eight bytes at a time.
void FoldAscii(const char *in, char *out, size_t length)
{
    constexpr quint64 Ones = 0x0101010101010101ull;
    constexpr quint64 High = 0x8080808080808080ull;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        quint64 x;
        std::memcpy(&x, in + i, 8);
        // Per byte, without carries between bytes: the high bit says "at least 'a'" and
        // "above 'z'" of the low seven bits; bytes with their own high bit set never fold.
        const quint64 low = x & ~High;
        const quint64 atLeastA = low + (0x80 - 'a') * Ones;
        const quint64 aboveZ = low + (0x80 - 'z' - 1) * Ones;
        const quint64 lower = atLeastA & ~aboveZ & ~x & High;
        x ^= lower >> 2; // 0x80 >> 2 is the 0x20 between a and A
        std::memcpy(out + i, &x, 8);
    }
    for (; i < length; ++i)
        out[i] = UpperAscii(in[i]);
}

// Where needle first occurs in haystack, or -1.
qsizetype IndexOf(const char *haystack, qsizetype length, const QByteArray &needle)
{
    if (needle.isEmpty())
        return 0;
    // An empty segment may come with no buffer at all; memmem must not see a null pointer.
    if (length < needle.size())
        return -1;
#if defined(__GLIBC__)
    const void *hit = memmem(haystack, size_t(length), needle.constData(), size_t(needle.size()));
    return hit ? static_cast<const char *>(hit) - haystack : -1;
#else
    const char *end = haystack + length;
    const char *hit = std::search(
        haystack, end, std::boyer_moore_horspool_searcher(needle.begin(), needle.end()));
    return hit != end ? hit - haystack : -1;
#endif
}

} // namespace

SegmentTextMatcher::SegmentTextMatcher(QStringView text, bool matchCase)
    : matchCase_(matchCase)
{
    needle_.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            matchable_ = false;
        const char byte = char(uchar(c.unicode()));
        needle_.append(matchCase ? byte : UpperAscii(byte));
    }
}

qsizetype SegmentTextMatcher::IndexIn(QByteArrayView bytes)
{
    if (!matchable_)
        return -1;
    if (matchCase_)
        return IndexOf(bytes.data(), bytes.size(), needle_);
    if (folded_.size() < size_t(bytes.size()))
        folded_.resize(size_t(bytes.size()));
    FoldAscii(bytes.data(), folded_.data(), size_t(bytes.size()));
    return IndexOf(folded_.data(), bytes.size(), needle_);
}
