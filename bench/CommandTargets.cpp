#include "CommandTargets.h"

#include "LineSource.h"
#include "SegmentTypeSearch.h"

#include <array>
#include <unordered_map>

namespace {

// The segment-type search reads this much of a line for its id.
constexpr qsizetype HeadLength = 80;
// Ids longer than this are no candidates for the step; X12's have two or three characters.
constexpr qsizetype IdLimit = 7;
// A find's text is cut to this many bytes.
constexpr qsizetype FindLimit = 100;

// An id of at most IdLimit bytes as a number, its length in the top byte.
quint64 IdKey(QByteArrayView id)
{
    quint64 key = quint64(id.size()) << 56;
    for (qsizetype i = 0; i < id.size(); ++i)
        key |= quint64(uchar(id[i])) << (8 * i);
    return key;
}

} // namespace

CommandTargets CommandTargets::Of(LineSource &lines)
{
    CommandTargets targets;
    const qint64 count = lines.LineCount();
    std::unordered_map<quint64, qint64> lastOfType;
    std::array<char, HeadLength> head {};
    qint64 longestStep = 0;
    for (qint64 line = 0; line < count; ++line) {
        const qsizetype length = lines.LineHead(line, head.data(), HeadLength);
        const QByteArrayView id = SegmentTypeSearch::SegmentId(
            QByteArrayView(head.data(), length), lines.LineDelimiters(line).Element);
        if (id == "ST") {
            ++targets.setCount;
            targets.lastSet = line;
        }
        if (id.isEmpty() || id.size() > IdLimit)
            continue;
        auto [seen, first] = lastOfType.try_emplace(IdKey(id), line);
        if (!first && line - seen->second > longestStep) {
            longestStep = line - seen->second;
            targets.stepType = id.toByteArray();
            targets.stepFrom = seen->second;
            targets.stepTo = line;
        }
        seen->second = line;
    }
    if (count > 0) {
        const QByteArray last = lines.LineBytes(count - 1, 0, FindLimit);
        qsizetype end = 0;
        while (end < last.size() && uchar(last[end]) >= 0x20)
            ++end;
        targets.lastText = last.first(end);
    }
    return targets;
}
