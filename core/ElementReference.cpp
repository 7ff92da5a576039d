#include "ElementReference.h"

#include <algorithm>

ElementReference::ElementReference(QByteArrayView line, qsizetype column, char elementSeparator)
    : column_(std::clamp<qsizetype>(column, 0, line.size()))
{
    const QByteArrayView counted = line.first(column_);
    elementCount_ = std::count(counted.begin(), counted.end(), elementSeparator);

    // The id is whatever stands before the first separator of the examined text, or all of it.
    const QByteArrayView examined = line.first(std::min(line.size(), LineLimit));
    qsizetype idLength = examined.indexOf(elementSeparator);
    if (idLength < 0)
        idLength = examined.size();
    segmentId_ = QString::fromLatin1(examined.first(std::min(idLength, SegmentIdLimit)));
}

QString ElementReference::ElementNumberText() const
{
    return QString::number(elementCount_).rightJustified(2, u'0');
}

QString ElementReference::PositionText(LineNumber line) const
{
    return QLatin1String("Line: ") + QString::number(line.Value + 1) + QLatin1String(" Col: ")
        + QString::number(column_ + 1) + u' ' + Key();
}
