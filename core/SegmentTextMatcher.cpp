#include "SegmentTextMatcher.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

char UpperAscii(char c)
{
    return uchar(c - 'a') < 26 ? char(c - 'a' + 'A') : c;
}

bool HasSubstring(const char *haystack, size_t length, const QByteArray &needle)
{
    if (needle.isEmpty())
        return true;
#if defined(__GLIBC__)
    return memmem(haystack, length, needle.constData(), size_t(needle.size())) != nullptr;
#else
    const char *end = haystack + length;
    return std::search(
               haystack, end, std::boyer_moore_horspool_searcher(needle.begin(), needle.end()))
        != end;
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

bool SegmentTextMatcher::Contains(QByteArrayView segment)
{
    if (!matchable_)
        return false;
    if (matchCase_)
        return HasSubstring(segment.data(), size_t(segment.size()), needle_);
    if (folded_.size() < size_t(segment.size()))
        folded_.resize(size_t(segment.size()));
    std::transform(segment.begin(), segment.end(), folded_.begin(), UpperAscii);
    return HasSubstring(folded_.data(), size_t(segment.size()), needle_);
}
