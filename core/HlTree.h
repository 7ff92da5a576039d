#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

// The HL hierarchy of one transaction set, read on demand from the set's segments: each HL
// segment with its HL01 (id), HL02 (parent's id) and HL03 (level code), the name in the first
// NM1 after it (NM103, NM104) before the next HL, and its place in the tree. An HL whose HL02
// is empty or names no HL01 given before it is a root.
class HlTree
{
public:
    // The text of segment number; valid until the next call. A reader gives it as
    // [&reader](qint64 n) { reader.GotoSegment(n); return reader.SegmentText(); }.
    using SegmentSource = std::function<QByteArrayView(qint64 number)>;

    static constexpr qint64 DefaultMaxNodes = 100000;

    struct Node
    {
        qint64 Segment = 0;
        qint64 Parent = -1; // index of the parent node; -1 for a root
        qint64 Row = 0; // place among its parent's children (or the roots)
        QByteArray Id; // HL01
        QByteArray ParentId; // HL02
        QByteArray Level; // HL03
        QByteArray LastName; // NM103 (or the organisation's name)
        QByteArray FirstName; // NM104
        std::vector<qint64> Children;

        // "DOE, JANE", "ACME CLINIC", empty without an NM1.
        QString Name() const;
    };

    HlTree() = default;

    // Reads the segments after first up to last (a set's ST and SE: the segments between
    // them), split at elementSeparator. At most maxNodes HL segments are taken; the reading
    // stops at the next one.
    static HlTree Build(const SegmentSource &source, qint64 first, qint64 last,
        char elementSeparator, qint64 maxNodes = DefaultMaxNodes);

    qint64 Count() const { return qint64(nodes_.size()); }
    const Node &At(qint64 i) const { return nodes_[size_t(i)]; }
    const std::vector<qint64> &Roots() const { return roots_; }
    // More HL segments follow than were taken.
    bool Truncated() const { return truncated_; }
    // The node whose segments (its HL up to the next HL) include segment; -1 before the first.
    qint64 NodeHolding(qint64 segment) const;

private:
    std::vector<Node> nodes_;
    std::vector<qint64> roots_;
    bool truncated_ = false;
};
