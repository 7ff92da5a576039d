#include "EnvelopeProblems.h"

#include <algorithm>

void EnvelopeProblems::Add(qint64 segment, QByteArrayView message)
{
    if (Count() >= MaxKept) {
        ++omitted_;
        return;
    }
    // Problems come mostly in segment order; one found when its envelope ends goes back to its
    // opening segment, after the others found there.
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), segment,
        [](qint64 s, const Entry &e) { return s < e.Segment; });
    entries_.insert(at, { segment, texts_.Add(message) });
}

qint64 EnvelopeProblems::FirstAtOrAfter(qint64 segment) const
{
    return std::lower_bound(entries_.begin(), entries_.end(), segment,
               [](const Entry &e, qint64 s) { return e.Segment < s; })
        - entries_.begin();
}

std::pair<qint64, qint64> EnvelopeProblems::At(qint64 segment) const
{
    return { FirstAtOrAfter(segment), FirstAtOrAfter(segment + 1) };
}

QString EnvelopeProblems::Summary() const
{
    const qint64 total = Count() + omitted_;
    if (total == 0)
        return QStringLiteral("No problems");
    return total == 1 ? QStringLiteral("1 problem") : QStringLiteral("%1 problems").arg(total);
}
