#include "HlTree.h"

#include "ControlNumber.h"
#include "SegmentElements.h"

#include <QHash>

#include <algorithm>

QString HlTree::Node::Name() const
{
    const QString last = QString::fromLatin1(LastName);
    return FirstName.isEmpty() ? last : last + QLatin1String(", ") + QString::fromLatin1(FirstName);
}

HlTree HlTree::Build(
    const SegmentSource &source, qint64 first, qint64 last, char elementSeparator, qint64 maxNodes)
{
    HlTree tree;
    QHash<QByteArray, qint64> byId; // canonical HL01 -> the latest node with it
    bool named = true; // the latest node has its NM1, or there is none yet
    for (qint64 number = first + 1; number < last; ++number) {
        const QByteArrayView text = source(number);
        const SegmentElements e(text, elementSeparator, 4);
        if (e.Id() == "HL") {
            if (tree.Count() == maxNodes) {
                tree.truncated_ = true;
                break;
            }
            Node node;
            node.Segment = number;
            node.Id = ControlNumber::WithoutSpaces(e[1]).toByteArray();
            node.ParentId = ControlNumber::WithoutSpaces(e[2]).toByteArray();
            node.Level = ControlNumber::WithoutSpaces(e[3]).toByteArray();
            const qint64 index = tree.Count();
            const auto parent
                = byId.constFind(ControlNumber::Canonical(node.ParentId).toByteArray());
            std::vector<qint64> &siblings = node.ParentId.isEmpty() || parent == byId.constEnd()
                ? tree.roots_
                : tree.nodes_[size_t(*parent)].Children;
            if (!node.ParentId.isEmpty() && parent != byId.constEnd())
                node.Parent = *parent;
            node.Row = qint64(siblings.size());
            siblings.push_back(index);
            byId.insert(ControlNumber::Canonical(node.Id).toByteArray(), index);
            tree.nodes_.push_back(std::move(node));
            named = false;
        } else if (!named && e.Id() == "NM1") {
            Node &node = tree.nodes_.back();
            node.LastName = ControlNumber::WithoutSpaces(e[3]).toByteArray();
            node.FirstName = ControlNumber::WithoutSpaces(e[4]).toByteArray();
            named = true;
        }
    }
    return tree;
}

qint64 HlTree::NodeHolding(qint64 segment) const
{
    const auto after = std::upper_bound(nodes_.begin(), nodes_.end(), segment,
        [](qint64 s, const Node &n) { return s < n.Segment; });
    return (after - nodes_.begin()) - 1;
}
