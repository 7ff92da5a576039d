#include "ControlNumber.h"

#include <cstring>

namespace ControlNumber {

namespace {

bool AllDigits(QByteArrayView text)
{
    if (text.isEmpty())
        return false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

QByteArrayView WithoutSpaces(QByteArrayView value)
{
    qsizetype begin = 0;
    qsizetype end = value.size();
    while (begin < end && value[begin] == ' ')
        ++begin;
    while (end > begin && value[end - 1] == ' ')
        --end;
    return value.sliced(begin, end - begin);
}

QByteArrayView Canonical(QByteArrayView value)
{
    QByteArrayView text = WithoutSpaces(value);
    if (!AllDigits(text))
        return text;
    qsizetype zeros = 0;
    while (zeros + 1 < text.size() && text[zeros] == '0')
        ++zeros;
    return text.sliced(zeros);
}

bool Same(QByteArrayView a, QByteArrayView b)
{
    // Most often the two are written alike.
    if (a.size() == b.size()
        && (a.isEmpty() || std::memcmp(a.data(), b.data(), size_t(a.size())) == 0))
        return true;
    return Canonical(a) == Canonical(b);
}

std::optional<quint64> Number(QByteArrayView value)
{
    const QByteArrayView text = WithoutSpaces(value);
    if (text.isEmpty())
        return std::nullopt;
    quint64 n = 0;
    int digits = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        if (n == 0 && c == '0')
            continue;
        if (++digits > 18)
            return std::nullopt;
        n = n * 10 + quint64(c - '0');
    }
    return n;
}

bool CountIs(QByteArrayView text, qint64 count)
{
    const std::optional<quint64> n = Number(text);
    return n && count >= 0 && *n == quint64(count);
}

} // namespace ControlNumber
