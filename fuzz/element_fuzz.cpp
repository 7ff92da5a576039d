// Fuzzes the element reference on arbitrary lines, columns and separators against a plain
// model: the count of separators before the column, the segment id, the key and the panel text.

#include "ElementReference.h"

#include "FuzzInput.h"

#include <QString>

#include <algorithm>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    const char separator = char(data[0]);
    const QByteArrayView line(reinterpret_cast<const char *>(data + 3), qsizetype(size - 3));
    const qsizetype column = (qsizetype(data[1]) << 8 | data[2]) % (line.size() + 2);

    const ElementReference reference(line, column, separator);

    const qsizetype counted = std::min(column, line.size());
    qsizetype separators = 0;
    for (qsizetype i = 0; i < counted; ++i)
        separators += line[i] == separator;
    FuzzInput::Check(reference.ElementCount() == separators);

    const QByteArrayView examined = line.first(std::min<qsizetype>(line.size(), 256));
    QByteArrayView id = examined;
    for (qsizetype i = 0; i < examined.size(); ++i) {
        if (examined[i] == separator) {
            id = examined.first(i);
            break;
        }
    }
    id = id.first(std::min<qsizetype>(id.size(), 64));
    FuzzInput::Check(reference.SegmentId() == QString::fromLatin1(id));

    const QString number = reference.ElementNumberText();
    FuzzInput::Check(number.size() >= 2 && number.toLongLong() == separators);
    FuzzInput::Check(reference.Key() == reference.SegmentId() + number);
    FuzzInput::Check(reference.PositionText(LineNumber(41))
        == QStringLiteral("Line: 42 Col: %1 %2").arg(counted + 1).arg(reference.Key()));
    return 0;
}
