// Fuzzes the segment reader on arbitrary bytes, raw or behind a well-formed ISA header (with or
// without a byte-order mark), and checks it against a plain model of the same rules: the
// records, the texts, each segment's delimiters, the total, random moves and the refusals.

#include "GFileIO.h"

#include "Exception.h"
#include "FuzzInput.h"
#include "ReferenceIndex.h"
#include "X12Builder.h"

#include <QSet>

namespace {

QByteArray BuildFile(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    if (size < 4 || (data[0] & 1) == 0)
        return input.mid(1);
    // A valid header with the delimiters and line break the input chooses, then the body.
    static const char *const breaks[] = { "", "\n", "\r\n", "\r" };
    const QByteArray mark = (data[0] & 8) ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return mark + X12Builder::Isa(char(data[1]), char(data[2]), char(data[3]))
        + breaks[(data[0] >> 1) & 3] + input.mid(4);
}

bool KnownRefusal(const QString &message)
{
    static const QSet<QString> messages
        = { QStringLiteral("Empty file."), QStringLiteral("Invalid X12 file"),
              QStringLiteral("Stream read error"), QStringLiteral("Not a valid X12 file.") };
    return messages.contains(message);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray file = BuildFile(data, size);
    const QString path = FuzzInput::WriteScratchFile(file);

    std::unique_ptr<TGFile> reader;
    try {
        reader = std::make_unique<TGFile>(path);
    } catch (const Exception &e) {
        FuzzInput::Check(KnownRefusal(e.Message()));
        return 0;
    }
    const qsizetype mark = file.startsWith("\xEF\xBB\xBFISA") ? 3 : 0;
    FuzzInput::Check(file.size() - mark >= 127 && file.sliced(mark).startsWith("ISA"));
    FuzzInput::Check(reader->CurrentSegment() == 1);
    const ReferenceIndex expected(file);
    FuzzInput::Check(reader->ElementSeparator() == file[mark + 3]
        && reader->SegmentTerminator() == expected.firstTerminator);

    // Random moves before the index is complete, then the count.
    const int moves = int(size % 4);
    for (int k = 0; k < moves; ++k) {
        const qint64 target = qint64(data[size - 1 - size_t(k)]) % 50 + 1;
        reader->GotoSegment(target);
        FuzzInput::Check(reader->CurrentSegment() >= 1 && reader->CurrentSegment() <= target);
    }
    const qint64 before = reader->CurrentSegment();
    const qint64 count = reader->SegmentCount();
    FuzzInput::Check(reader->CurrentSegment() == before);

    FuzzInput::Check(count == qint64(expected.records.size()));
    FuzzInput::Check(reader->ScanPosition() == file.size());
    FuzzInput::Check(reader->ScanPercent() == 100);

    qint64 end = 0;
    for (qint64 i = 1; i <= count; ++i) {
        const IndexRecord record = reader->SegmentRecord(i);
        const auto &[offset, length] = expected.records[size_t(i - 1)];
        FuzzInput::Check(record.Offset == offset && record.Length == length);
        FuzzInput::Check(
            reader->SegmentDelimiters(i).Element == expected.elementSeparators[size_t(i - 1)]);
        // In file order, without overlap, inside the file.
        FuzzInput::Check(record.Offset >= end && record.Offset + record.Length <= file.size());
        end = record.Offset + record.Length + 1; // at least the terminator between two
        reader->GotoSegment(i);
        FuzzInput::Check(reader->CurrentSegment() == i);
        const QByteArrayView text = reader->SegmentText();
        FuzzInput::Check(text.size() <= record.Length);
        const QByteArrayView bytes = QByteArrayView(file).sliced(record.Offset, record.Length);
        const qsizetype nul = bytes.indexOf('\0');
        FuzzInput::Check(text == bytes.first(nul < 0 ? bytes.size() : nul));
    }

    // Beyond the end, below the start.
    reader->GotoSegment(count + 1 + qint64(size));
    FuzzInput::Check(reader->CurrentSegment() == count);
    try {
        reader->GotoSegment(0);
        FuzzInput::Check(false);
    } catch (const EInOutError &) {
        FuzzInput::Check(reader->CurrentSegment() == count);
    }
    return 0;
}
