#include "InterchangeHeader.h"

#include <QString>

namespace {

// ISA11 separates repetitions from version 00402 on; before that it is a letter ("U").
char RepetitionSeparator(char isa11, const Delimiters &d)
{
    const uchar c = uchar(isa11);
    const bool alphanumeric
        = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (alphanumeric || c == ' ' || isa11 == d.Element || isa11 == d.Component
        || isa11 == d.Segment)
        return 0;
    return isa11;
}

} // namespace

InterchangeHeader InterchangeHeader::Parse(QByteArrayView bytes)
{
    InterchangeHeader header;
    Delimiters &d = header.Separators;
    d.Element = bytes[3];

    const qsizetype limit = qMin(bytes.size(), ScanLimit);
    qsizetype separators = 0;
    qsizetype isa11 = -1;
    qsizetype sixteenth = -1;
    for (qsizetype i = 3; i < limit; ++i) {
        if (bytes[i] != d.Element)
            continue;
        ++separators;
        if (separators == 11)
            isa11 = i + 1;
        if (separators == 16) {
            sixteenth = i;
            break;
        }
    }
    if (sixteenth >= 0 && sixteenth + 2 < bytes.size()) {
        d.Component = bytes[sixteenth + 1];
        d.Segment = bytes[sixteenth + 2];
        header.TextLength = sixteenth + 2;
        header.Counted = true;
    } else {
        d.Component = bytes[104];
        d.Segment = bytes[105];
        isa11 = 82;
    }
    d.Repetition = RepetitionSeparator(bytes[isa11], d);
    return header;
}

QString InterchangeHeader::LengthNote() const
{
    if (Length() == StandardLength)
        return {};
    return QStringLiteral("The interchange header is %1 bytes long, not %2; its delimiters were "
                          "found by counting its elements.")
        .arg(Length())
        .arg(StandardLength);
}
