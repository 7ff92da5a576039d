#include "ReferenceIndex.h"

namespace {

bool IsBreak(char c)
{
    return c == '\r' || c == '\n';
}

} // namespace

ReferenceIndex::ReferenceIndex(const QByteArray &file)
{
    const qint64 size = file.size();
    const char terminator = file[105];
    if (file[106] == '\r' && file[107] == '\n')
        lineBreakLength = 2;
    else if (file[106] == '\n')
        lineBreakLength = 1;
    const qint64 step = 1 + lineBreakLength;
    records.emplace_back(0, 105);
    scanPosition = 106 + lineBreakLength;

    for (;;) {
        const qint64 pos = scanPosition;
        qint64 chunk = 32768;
        qint64 got = 0;
        for (;;) {
            got = pos >= size ? 0 : std::min(chunk, size - pos);
            if (got < chunk || QByteArrayView(file).sliced(pos, chunk).contains(terminator))
                break;
            chunk *= 2;
        }
        qint64 offset = pos;
        qint64 length = 0;
        bool lastWasTerminator = false;
        for (qint64 i = 0; i < got;) {
            if (file[pos + i] == terminator) {
                lastWasTerminator = true;
                records.emplace_back(offset, length);
                i += step;
                offset += length + step;
                length = 0;
                scanPosition = offset;
            } else {
                ++i;
                ++length;
                lastWasTerminator = false;
            }
        }
        if (got == chunk)
            continue;
        if (lastWasTerminator)
            return;

        const qint64 tailStart = scanPosition - lineBreakLength;
        if (tailStart >= size)
            return;
        const QByteArray tail = file.mid(tailStart);
        scanPosition = tailStart + tail.size();
        if (tail == "\n" || tail == "\r\n")
            return;
        qint64 tailOffset = tailStart;
        qint64 tailLength = tail.size();
        if (tail[tailLength - 1] == '\n')
            --tailLength;
        if (tailLength > 0 && IsBreak(tail[tailLength - 1]))
            --tailLength;
        if (tailLength > 0 && IsBreak(file[tailOffset])) {
            ++tailOffset;
            --tailLength;
        }
        if (tailLength > 0 && IsBreak(file[tailOffset])) {
            ++tailOffset;
            --tailLength;
        }
        if (tailLength > 0)
            records.emplace_back(tailOffset, tailLength);
        return;
    }
}
