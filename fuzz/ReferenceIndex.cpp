#include "ReferenceIndex.h"

namespace {

struct Header
{
    qint64 textLength = 105;
    char element = 0;
    char terminator = 0;
};

// The sixteenth element separator among the first 200 bytes ends the header's elements; the
// byte after it is ISA16, the one after that the terminator. Without sixteen, bytes 104 and 105.
Header ReadHeader(const QByteArray &file, qint64 at)
{
    const QByteArray bytes = file.mid(at, 200);
    Header header;
    header.element = bytes[3];
    int seen = 0;
    for (qint64 i = 3; i < bytes.size(); ++i) {
        if (bytes[i] == header.element && ++seen == 16) {
            if (i + 2 < bytes.size()) {
                header.textLength = i + 2;
                header.terminator = bytes[i + 2];
                return header;
            }
            break;
        }
    }
    header.textLength = 105;
    header.terminator = bytes[105];
    return header;
}

bool Skipped(char c, const Header &h)
{
    return (c == '\r' || c == '\n' || c == ' ' || c == '\t') && c != h.terminator && c != h.element;
}

} // namespace

ReferenceIndex::ReferenceIndex(const QByteArray &file)
{
    const qint64 size = file.size();
    qint64 pos = file.startsWith("\xEF\xBB\xBFISA") ? 3 : 0;
    Header header = ReadHeader(file, pos);
    firstTerminator = header.terminator;
    const auto add = [&](qint64 offset, qint64 length) {
        records.emplace_back(offset, length);
        elementSeparators.push_back(header.element);
    };
    add(pos, header.textLength);
    pos += header.textLength + 1;
    bool afterIea = false;
    for (;;) {
        while (pos < size && Skipped(file[pos], header))
            ++pos;
        if (pos >= size)
            return;
        if (afterIea) {
            afterIea = false;
            if (file.mid(pos, 3) == "ISA" && size - pos >= 106) {
                header = ReadHeader(file, pos);
                add(pos, header.textLength);
                pos += header.textLength + 1;
                continue;
            }
        }
        const qint64 end = file.indexOf(header.terminator, pos);
        if (end < 0) {
            qint64 last = size;
            while (last > pos && Skipped(file[last - 1], header))
                --last;
            if (last > pos)
                add(pos, last - pos);
            return;
        }
        add(pos, end - pos);
        const QByteArray segment = file.mid(pos, end - pos);
        afterIea
            = segment.startsWith("IEA") && (segment.size() == 3 || segment[3] == header.element);
        pos = end + 1;
    }
}
