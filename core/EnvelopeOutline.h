#pragma once

#include "Delimiters.h"
#include "RecordBlocks.h"
#include "TextBlocks.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <optional>

// One transaction set, ST to SE: 32 bytes, its texts kept once in the outline's text blocks.
struct SetRecord
{
    qint64 First = 0; // the ST's segment number
    qint64 Last = 0; // the SE's, or the set's last segment when no SE closes it
    TextBlocks::Ref Type = TextBlocks::Empty; // ST01
    TextBlocks::Ref Control = TextBlocks::Empty; // ST02
    TextBlocks::Ref Convention = TextBlocks::Empty; // ST03
    bool Closed = false; // an SE closes the set

    qint64 SegmentCount() const { return Last - First + 1; }
};

// One functional group, GS to GE. An implicit group holds transaction sets that no GS opens;
// its First is then the first set's ST.
struct GroupRecord
{
    qint64 First = 0; // the GS's segment number
    qint64 Last = 0; // the GE's, or the group's last segment when no GE closes it
    qint64 FirstSet = 0; // index of its first transaction set in the outline
    qint64 SetCount = 0;
    TextBlocks::Ref Function = TextBlocks::Empty; // GS01
    TextBlocks::Ref Sender = TextBlocks::Empty; // GS02
    TextBlocks::Ref Receiver = TextBlocks::Empty; // GS03
    TextBlocks::Ref Control = TextBlocks::Empty; // GS06
    TextBlocks::Ref Version = TextBlocks::Empty; // GS08
    bool Closed = false;
    bool Implicit = false;
};

// One interchange, ISA to IEA. An implicit interchange holds groups or sets that no ISA opens;
// its First is then its first segment's.
struct InterchangeRecord
{
    qint64 First = 0; // the ISA's segment number
    qint64 Last = 0; // the IEA's, or the interchange's last segment when no IEA closes it
    qint64 FirstGroup = 0; // index of its first group in the outline
    qint64 GroupCount = 0; // its groups, implicit ones included
    qint64 GsCount = 0; // its GS segments
    TextBlocks::Ref SenderQualifier = TextBlocks::Empty; // ISA05
    TextBlocks::Ref Sender = TextBlocks::Empty; // ISA06
    TextBlocks::Ref ReceiverQualifier = TextBlocks::Empty; // ISA07
    TextBlocks::Ref Receiver = TextBlocks::Empty; // ISA08
    TextBlocks::Ref Date = TextBlocks::Empty; // ISA09
    TextBlocks::Ref Time = TextBlocks::Empty; // ISA10
    TextBlocks::Ref Control = TextBlocks::Empty; // ISA13
    Delimiters Separators; // those in force in the interchange
    bool Closed = false;
    bool Implicit = false;
};

// Where a Go To by ST02 and position leads.
struct SetPositionTarget
{
    enum class Outcome { Found, NoSuchSet, BeyondSet };

    Outcome Result = Outcome::NoSuchSet;
    qint64 Segment = 0; // the segment found
    qint64 Set = -1; // the transaction set chosen; for BeyondSet too
    qint64 Matches = 0; // how many transaction sets have that ST02
};

// The envelopes of an X12 file in file order: every interchange, functional group and
// transaction set with its segment numbers and key elements, and look-ups by segment number.
// Groups hold consecutive sets and interchanges consecutive groups. Values are kept without
// the spaces around them, at most TextBlocks::MaxLength bytes of each.
//
// Copies are cheap: they share what no longer changes. An outline is filled by
// EnvelopeChecker; one read while the file is being checked is a snapshot whose last records
// end at the last segment checked.
class EnvelopeOutline
{
public:
    qint64 InterchangeCount() const { return interchanges_.Size(); }
    qint64 GroupCount() const { return groups_.Size(); }
    qint64 SetCount() const { return sets_.Size(); }
    const InterchangeRecord &Interchange(qint64 i) const { return interchanges_[i]; }
    const GroupRecord &Group(qint64 i) const { return groups_[i]; }
    const SetRecord &Set(qint64 i) const { return sets_[i]; }
    QByteArrayView Text(TextBlocks::Ref ref) const { return texts_.View(ref); }
    // The last segment the outline covers.
    qint64 LastSegment() const { return lastSegment_; }

    // The index of the transaction set, group or interchange whose segments include segment.
    std::optional<qint64> SetHolding(qint64 segment) const;
    std::optional<qint64> GroupHolding(qint64 segment) const;
    std::optional<qint64> InterchangeHolding(qint64 segment) const;
    qint64 GroupOfSet(qint64 set) const;
    qint64 InterchangeOfGroup(qint64 group) const;

    // Where segment stands in its transaction set, as 997 and 999 acknowledgments count it
    // (AK3, IK3): "ST 0003, segment 12", the ST being segment 1; empty outside a set.
    QString PositionText(qint64 segment) const;

    // The segment at position (from 1, the ST) of a transaction set whose ST02 is control
    // (compared as ControlNumber compares). ST02 may repeat across groups and interchanges:
    // the set chosen is the first that begins after segment after, or else the first in the
    // file, so that going again from the segment found reaches the next set with that ST02.
    SetPositionTarget FindSetPosition(QByteArrayView control, qint64 position, qint64 after) const;

    // Bytes held by the records and their texts, for reports of memory use.
    qint64 Capacity() const;

private:
    friend class EnvelopeChecker;

    RecordBlocks<InterchangeRecord> interchanges_;
    RecordBlocks<GroupRecord> groups_;
    RecordBlocks<SetRecord> sets_;
    TextBlocks texts_;
    qint64 lastSegment_ = 0;
};
