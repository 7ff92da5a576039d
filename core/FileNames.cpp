#include "FileNames.h"

#include <QStringDecoder>

#include <algorithm>

namespace FileNames {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool IsEscape(char16_t c)
{
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF;
}

// The length of the valid UTF-8 sequence at bytes[i], or 0 when there is none: overlong forms,
// surrogates and code points past U+10FFFF are not valid.
qsizetype SequenceLength(QByteArrayView bytes, qsizetype i)
{
    const auto at = [&](qsizetype k) { return uchar(bytes[k]); };
    const uchar lead = at(i);
    qsizetype length = 0;
    char32_t lowest = 0;
    char32_t code = 0;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (at(i + k) & 0x3F);
    }
    if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString Decode(QByteArrayView bytes)
{
    // Most names are ASCII: no decoder is needed for them.
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; }))
        return QString::fromLatin1(bytes);
    // Stateless: a sequence cut short at the end is an error, not a wait for more.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString valid = utf8.decode(bytes);
    if (!utf8.hasError())
        return valid;
    QString name;
    name.reserve(bytes.size());
    qsizetype i = 0;
    while (i < bytes.size()) {
        const qsizetype length = SequenceLength(bytes, i);
        if (length == 0) {
            name.append(QChar(char16_t(EscapeBase + uchar(bytes[i]))));
            ++i;
            continue;
        }
        name.append(QString::fromUtf8(bytes.sliced(i, length)));
        i += length;
    }
    return name;
}

QByteArray Encode(QStringView name)
{
    if (std::none_of(name.begin(), name.end(), [](QChar c) { return IsEscape(c.unicode()); }))
        return name.toUtf8();
    QByteArray bytes;
    bytes.reserve(name.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !IsEscape(name[i].unicode()))
            continue;
        bytes.append(name.sliced(runStart, i - runStart).toUtf8());
        if (i < name.size())
            bytes.append(char(name[i].unicode() - EscapeBase));
        runStart = i + 1;
    }
    return bytes;
}

QString Display(QStringView name)
{
    QString shown = name.toString();
    for (QChar &c : shown) {
        if (IsEscape(c.unicode()))
            c = QChar::ReplacementCharacter;
    }
    return shown;
}

QStringList Arguments(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(Decode(QByteArrayView(argv[i])));
    return arguments;
}

} // namespace FileNames
