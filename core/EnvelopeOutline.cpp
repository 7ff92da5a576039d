#include "EnvelopeOutline.h"

#include "ControlNumber.h"

namespace {

// The last record of records that begins at or before segment, when segment is within it.
template<typename Record>
std::optional<qint64> Holding(const RecordBlocks<Record> &records, qint64 segment)
{
    const qint64 after
        = records.PartitionPoint([segment](const Record &r) { return r.First <= segment; });
    if (after == 0 || records[after - 1].Last < segment)
        return std::nullopt;
    return after - 1;
}

} // namespace

std::optional<qint64> EnvelopeOutline::SetHolding(qint64 segment) const
{
    return Holding(sets_, segment);
}

std::optional<qint64> EnvelopeOutline::GroupHolding(qint64 segment) const
{
    return Holding(groups_, segment);
}

std::optional<qint64> EnvelopeOutline::InterchangeHolding(qint64 segment) const
{
    return Holding(interchanges_, segment);
}

qint64 EnvelopeOutline::GroupOfSet(qint64 set) const
{
    return groups_.PartitionPoint([set](const GroupRecord &g) { return g.FirstSet <= set; }) - 1;
}

qint64 EnvelopeOutline::InterchangeOfGroup(qint64 group) const
{
    return interchanges_.PartitionPoint([group](const InterchangeRecord &i) {
        return i.FirstGroup <= group;
    }) - 1;
}

QString EnvelopeOutline::PositionText(qint64 segment) const
{
    const std::optional<qint64> set = SetHolding(segment);
    if (!set)
        return {};
    const SetRecord &record = sets_[*set];
    return QStringLiteral("ST %1, segment %2")
        .arg(QString::fromLatin1(Text(record.Control)))
        .arg(segment - record.First + 1);
}

SetPositionTarget EnvelopeOutline::FindSetPosition(
    QByteArrayView control, qint64 position, qint64 after) const
{
    SetPositionTarget target;
    const QByteArrayView wanted = ControlNumber::Canonical(control);
    qint64 first = -1;
    qint64 next = -1;
    for (qint64 i = 0; i < sets_.Size(); ++i) {
        if (ControlNumber::Canonical(Text(sets_[i].Control)) != wanted)
            continue;
        ++target.Matches;
        if (first < 0)
            first = i;
        if (next < 0 && sets_[i].First > after)
            next = i;
    }
    if (first < 0)
        return target;
    target.Set = next >= 0 ? next : first;
    const SetRecord &set = sets_[target.Set];
    if (position < 1 || position > set.SegmentCount()) {
        target.Result = SetPositionTarget::Outcome::BeyondSet;
        return target;
    }
    target.Result = SetPositionTarget::Outcome::Found;
    target.Segment = set.First + position - 1;
    return target;
}

qint64 EnvelopeOutline::Capacity() const
{
    return interchanges_.Capacity() + groups_.Capacity() + sets_.Capacity() + texts_.Capacity();
}
