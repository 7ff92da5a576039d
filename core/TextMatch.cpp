#include "TextMatch.h"

#include <QChar>

#include <array>
#include <cstring>

namespace TextMatch {

namespace {

struct ByteTables
{
    std::array<uchar, 256> fold {}; // Latin-1 letters to lower case
    std::array<bool, 256> word {};
};

const ByteTables &Tables()
{
    static const ByteTables tables = [] {
        ByteTables t;
        for (int b = 0; b < 256; ++b) {
            const char16_t lower = QChar(char16_t(b)).toLower().unicode();
            t.fold[size_t(b)] = lower <= 0xFF ? uchar(lower) : uchar(b);
            t.word[size_t(b)] = QChar(char16_t(b)).isLetterOrNumber() || b == '_';
        }
        return t;
    }();
    return tables;
}

} // namespace

uchar Fold(uchar byte)
{
    return Tables().fold[byte];
}

bool IsWordChar(uchar byte)
{
    return Tables().word[byte];
}

qint64 Find(QByteArrayView bytes, QByteArrayView text, qint64 start, qint64 end, bool matchCase,
    bool wholeWord, qint64 first, qint64 last)
{
    const qint64 n = text.size();
    if (last < 0)
        last = bytes.size();
    end = qMin(end, qint64(bytes.size()));
    if (n == 0 || start < 0 || start + n > end)
        return -1;
    const char *data = bytes.data();
    const auto &fold = Tables().fold;
    const auto &word = Tables().word;
    const auto isWordAt = [&](qint64 p) { return p >= first && p < last && word[uchar(data[p])]; };
    const auto matchesAt = [&](qint64 p) {
        if (matchCase)
            return std::memcmp(data + p, text.data(), size_t(n)) == 0;
        for (qint64 k = 0; k < n; ++k) {
            if (fold[uchar(data[p + k])] != fold[uchar(text[k])])
                return false;
        }
        return true;
    };
    const uchar head = fold[uchar(text[0])];
    for (qint64 p = start; p + n <= end; ++p) {
        if (matchCase) {
            // memchr finds the next candidate far faster than a byte loop.
            const void *hit = std::memchr(data + p, text[0], size_t(end - n + 1 - p));
            if (!hit)
                return -1;
            p = static_cast<const char *>(hit) - data;
        } else if (fold[uchar(data[p])] != head) {
            continue;
        }
        if (matchesAt(p) && (!wholeWord || (!isWordAt(p - 1) && !isWordAt(p + n))))
            return p;
    }
    return -1;
}

} // namespace TextMatch
