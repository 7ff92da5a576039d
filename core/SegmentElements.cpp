#include "SegmentElements.h"

SegmentElements::SegmentElements(QByteArrayView text, char elementSeparator)
{
    // Elements are short: a plain loop beats a search call for each.
    const char *bytes = text.data();
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (size_t n = 0; n < parts_.size(); ++n) {
        qsizetype end = start;
        while (end < size && bytes[end] != elementSeparator)
            ++end;
        parts_[n] = QByteArrayView(bytes + start, end - start);
        if (end == size)
            break;
        start = end + 1;
    }
}
