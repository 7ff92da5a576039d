#include "SegmentElements.h"

#include <algorithm>

SegmentElements::SegmentElements(QByteArrayView text, char elementSeparator, int wanted)
{
    // Elements are short: a plain loop beats a search call for each.
    const char *bytes = text.data();
    const qsizetype size = text.size();
    const int last = std::clamp(wanted, 0, int(MaxElements));
    qsizetype start = 0;
    for (int n = 0; n <= last; ++n) {
        qsizetype end = start;
        while (end < size && bytes[end] != elementSeparator)
            ++end;
        parts_[n] = { bytes + start, end - start };
        count_ = n;
        if (end == size)
            break;
        start = end + 1;
    }
}
