#include "ControlNumber.h"

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
    return Canonical(a) == Canonical(b);
}

std::optional<quint64> SmallNumber(QByteArrayView canonical)
{
    if (canonical.size() > 18 || !AllDigits(canonical))
        return std::nullopt;
    quint64 n = 0;
    for (char c : canonical)
        n = n * 10 + quint64(c - '0');
    return n;
}

bool CountIs(QByteArrayView text, qint64 count)
{
    const std::optional<quint64> n = SmallNumber(Canonical(text));
    return n && count >= 0 && *n == quint64(count);
}

} // namespace ControlNumber
