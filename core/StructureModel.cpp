#include "StructureModel.h"

#include <QCoreApplication>

#include "OutlineWords.h"
#include "PrintableText.h"

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("StructureModel", text);
}

constexpr int KindShift = 61;
constexpr int TreeShift = 40;
constexpr quint64 IndexMask = (quint64(1) << TreeShift) - 1;
constexpr quint64 TreeMask = (quint64(1) << (KindShift - TreeShift)) - 1;

QString Shown(QByteArrayView value)
{
    return QString::fromLatin1(PrintableText::Of(value));
}

} // namespace

StructureModel::StructureModel(QObject *parent)
    : QAbstractItemModel(parent)
{ }

void StructureModel::SetOutline(EnvelopeOutline outline, bool complete)
{
    beginResetModel();
    outline_ = std::move(outline);
    complete_ = complete;
    visibleInterchanges_ = outline_.InterchangeCount();
    visibleGroups_ = outline_.GroupCount();
    visibleSets_ = outline_.SetCount();
    trees_.clear();
    treeOfSet_.clear();
    endResetModel();
}

void StructureModel::UpdateOutline(EnvelopeOutline outline, bool complete)
{
    const qint64 oldInterchanges = visibleInterchanges_;
    const qint64 oldGroups = visibleGroups_;
    const qint64 oldSets = visibleSets_;
    if (outline.InterchangeCount() < oldInterchanges || outline.GroupCount() < oldGroups
        || outline.SetCount() < oldSets) {
        SetOutline(std::move(outline), complete);
        return;
    }
    // The records shown stay as they are in the new outline; those added come in, innermost
    // first, each insertion making visible only what it announces.
    outline_ = std::move(outline);
    complete_ = complete;
    if (oldGroups > 0) {
        const GroupRecord &group = outline_.Group(oldGroups - 1);
        const qint64 end = group.FirstSet + group.SetCount;
        if (end > oldSets) {
            beginInsertRows(Make({ Kind::Group, oldGroups - 1 }), int(oldSets - group.FirstSet),
                int(end - 1 - group.FirstSet));
            visibleSets_ = end;
            endInsertRows();
        }
    }
    if (oldInterchanges > 0) {
        const InterchangeRecord &interchange = outline_.Interchange(oldInterchanges - 1);
        const qint64 end = interchange.FirstGroup + interchange.GroupCount;
        if (end > oldGroups) {
            beginInsertRows(Make({ Kind::Interchange, oldInterchanges - 1 }),
                int(oldGroups - interchange.FirstGroup), int(end - 1 - interchange.FirstGroup));
            visibleGroups_ = end;
            visibleSets_ = outline_.SetCount();
            endInsertRows();
        }
    }
    if (outline_.InterchangeCount() > oldInterchanges) {
        beginInsertRows({}, int(oldInterchanges), int(outline_.InterchangeCount() - 1));
        visibleInterchanges_ = outline_.InterchangeCount();
        visibleGroups_ = outline_.GroupCount();
        visibleSets_ = outline_.SetCount();
        endInsertRows();
    }
    // The last records shown may have closed, grown or become whole meanwhile.
    const auto changed = [this](Kind kind, qint64 count) {
        if (count > 0)
            emit dataChanged(Make({ kind, count - 1 }), Make({ kind, count - 1 }, DetailsColumn));
    };
    changed(Kind::Interchange, oldInterchanges);
    changed(Kind::Group, oldGroups);
    changed(Kind::Set, oldSets);
}

void StructureModel::SetSegmentSource(HlTree::SegmentSource source)
{
    source_ = std::move(source);
}

quintptr StructureModel::Id(const Node &node)
{
    return quintptr(
        quint64(node.kind) << KindShift | quint64(node.tree) << TreeShift | quint64(node.index));
}

StructureModel::Node StructureModel::NodeOf(const QModelIndex &index)
{
    if (!index.isValid())
        return {};
    const quint64 id = index.internalId();
    const Kind kind = Kind(id >> KindShift);
    if (kind == Kind::Hl)
        return { kind, qint64(id & IndexMask), qint64((id >> TreeShift) & TreeMask) };
    return { kind, qint64(id & ((quint64(1) << KindShift) - 1)), 0 };
}

QModelIndex StructureModel::Make(const Node &node, int column) const
{
    return createIndex(Row(node), column, Id(node));
}

int StructureModel::Row(const Node &node) const
{
    switch (node.kind) {
    case Kind::Interchange:
        return int(node.index);
    case Kind::Group:
        return int(
            node.index - outline_.Interchange(outline_.InterchangeOfGroup(node.index)).FirstGroup);
    case Kind::Set:
        return int(node.index - outline_.Group(outline_.GroupOfSet(node.index)).FirstSet);
    case Kind::Hl:
        return int(trees_[size_t(node.tree)].tree.At(node.index).Row);
    case Kind::None:
        break;
    }
    return -1;
}

qint64 StructureModel::SetRows(qint64 group) const
{
    const GroupRecord &g = outline_.Group(group);
    return std::max<qint64>(0, std::min(g.FirstSet + g.SetCount, visibleSets_) - g.FirstSet);
}

qint64 StructureModel::GroupRows(qint64 interchange) const
{
    const InterchangeRecord &i = outline_.Interchange(interchange);
    return std::max<qint64>(
        0, std::min(i.FirstGroup + i.GroupCount, visibleGroups_) - i.FirstGroup);
}

QModelIndex StructureModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    const Node up = NodeOf(parent);
    switch (up.kind) {
    case Kind::None:
        return createIndex(row, column, Id({ Kind::Interchange, row }));
    case Kind::Interchange:
        return createIndex(
            row, column, Id({ Kind::Group, outline_.Interchange(up.index).FirstGroup + row }));
    case Kind::Group:
        return createIndex(row, column, Id({ Kind::Set, outline_.Group(up.index).FirstSet + row }));
    case Kind::Set: {
        const qint64 tree = treeOfSet_.value(up.index);
        return createIndex(
            row, column, Id({ Kind::Hl, trees_[size_t(tree)].tree.Roots()[size_t(row)], tree }));
    }
    case Kind::Hl:
        return createIndex(row, column,
            Id({ Kind::Hl, trees_[size_t(up.tree)].tree.At(up.index).Children[size_t(row)],
                up.tree }));
    }
    return {};
}

QModelIndex StructureModel::parent(const QModelIndex &child) const
{
    const Node node = NodeOf(child);
    switch (node.kind) {
    case Kind::Group:
        return Make({ Kind::Interchange, outline_.InterchangeOfGroup(node.index) });
    case Kind::Set:
        return Make({ Kind::Group, outline_.GroupOfSet(node.index) });
    case Kind::Hl: {
        const SetTree &tree = trees_[size_t(node.tree)];
        const qint64 up = tree.tree.At(node.index).Parent;
        return up < 0 ? Make({ Kind::Set, tree.set }) : Make({ Kind::Hl, up, node.tree });
    }
    case Kind::None:
    case Kind::Interchange:
        break;
    }
    return {};
}

int StructureModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const Node node = NodeOf(parent);
    switch (node.kind) {
    case Kind::None:
        return int(std::min(outline_.InterchangeCount(), visibleInterchanges_));
    case Kind::Interchange:
        return int(GroupRows(node.index));
    case Kind::Group:
        return int(SetRows(node.index));
    case Kind::Set: {
        const auto tree = treeOfSet_.constFind(node.index);
        return tree == treeOfSet_.constEnd() ? 0 : int(trees_[size_t(*tree)].tree.Roots().size());
    }
    case Kind::Hl:
        return int(trees_[size_t(node.tree)].tree.At(node.index).Children.size());
    }
    return 0;
}

int StructureModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

bool StructureModel::MayOpen(qint64 set) const
{
    // The last set of a check still running may grow yet.
    return source_ && !treeOfSet_.contains(set) && (complete_ || set + 1 < outline_.SetCount())
        && outline_.Set(set).SegmentCount() > 2;
}

bool StructureModel::hasChildren(const QModelIndex &parent) const
{
    const Node node = NodeOf(parent);
    if (node.kind == Kind::Set && parent.column() == 0 && MayOpen(node.index))
        return true;
    return rowCount(parent) > 0;
}

bool StructureModel::canFetchMore(const QModelIndex &parent) const
{
    const Node node = NodeOf(parent);
    return node.kind == Kind::Set && MayOpen(node.index);
}

void StructureModel::fetchMore(const QModelIndex &parent)
{
    const Node node = NodeOf(parent);
    if (node.kind != Kind::Set || !MayOpen(node.index))
        return;
    const SetRecord &set = outline_.Set(node.index);
    const char separator
        = outline_.Interchange(outline_.InterchangeOfGroup(outline_.GroupOfSet(node.index)))
              .Separators.Element;
    // A set that no SE closes has no SE to leave out.
    HlTree tree
        = HlTree::Build(source_, set.First, set.Closed ? set.Last : set.Last + 1, separator);
    const int roots = int(tree.Roots().size());
    if (roots > 0)
        beginInsertRows(parent, 0, roots - 1);
    treeOfSet_.insert(node.index, qint64(trees_.size()));
    trees_.push_back({ node.index, std::move(tree) });
    if (roots > 0)
        endInsertRows();
    else
        emit dataChanged(parent, parent);
}

qint64 StructureModel::Segment(const Node &node) const
{
    switch (node.kind) {
    case Kind::Interchange:
        return outline_.Interchange(node.index).First;
    case Kind::Group:
        return outline_.Group(node.index).First;
    case Kind::Set:
        return outline_.Set(node.index).First;
    case Kind::Hl:
        return trees_[size_t(node.tree)].tree.At(node.index).Segment;
    case Kind::None:
        break;
    }
    return 0;
}

QString StructureModel::Label(const Node &node) const
{
    const EnvelopeOutline &o = outline_;
    switch (node.kind) {
    case Kind::Interchange: {
        const InterchangeRecord &r = o.Interchange(node.index);
        return r.Implicit ? Tr("(no ISA)") : QLatin1String("ISA ") + Shown(o.Text(r.Control));
    }
    case Kind::Group: {
        const GroupRecord &r = o.Group(node.index);
        return r.Implicit ? Tr("(no GS)") : QLatin1String("GS ") + Shown(o.Text(r.Control));
    }
    case Kind::Set:
        return QLatin1String("ST ") + Shown(o.Text(o.Set(node.index).Control));
    case Kind::Hl:
        return QLatin1String("HL ") + Shown(trees_[size_t(node.tree)].tree.At(node.index).Id);
    case Kind::None:
        break;
    }
    return {};
}

QString StructureModel::Details(const Node &node) const
{
    // The last record of a check still running may close yet.
    const auto options = [this](qint64 index, qint64 count) {
        return OutlineWords::Options { false, !complete_ && index + 1 == count };
    };
    const EnvelopeOutline &o = outline_;
    switch (node.kind) {
    case Kind::Interchange:
        return QString::fromLatin1(
            OutlineWords::Interchange(o, node.index, options(node.index, o.InterchangeCount())));
    case Kind::Group:
        return QString::fromLatin1(
            OutlineWords::Group(o, node.index, options(node.index, o.GroupCount())));
    case Kind::Set:
        return QString::fromLatin1(
            OutlineWords::Set(o, node.index, options(node.index, o.SetCount())));
    case Kind::Hl: {
        const HlTree::Node &hl = trees_[size_t(node.tree)].tree.At(node.index);
        const QString level = Tr("level %1").arg(Shown(hl.Level));
        return hl.Name().isEmpty() ? level : level + QLatin1String(", ") + hl.Name();
    }
    case Kind::None:
        break;
    }
    return {};
}

QVariant StructureModel::data(const QModelIndex &index, int role) const
{
    const Node node = NodeOf(index);
    if (node.kind == Kind::None)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == EnvelopeColumn ? Label(node) : Details(node);
    case SegmentRole:
        return Segment(node);
    case Qt::ToolTipRole:
        return Tr("Segment %1").arg(Segment(node));
    default:
        return {};
    }
}

QVariant StructureModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == EnvelopeColumn ? Tr("Envelope") : Tr("Details");
}

QModelIndex StructureModel::IndexHolding(qint64 segment) const
{
    if (const auto set = outline_.SetHolding(segment); set && *set < visibleSets_)
        return Make({ Kind::Set, *set });
    if (const auto group = outline_.GroupHolding(segment); group && *group < visibleGroups_)
        return Make({ Kind::Group, *group });
    if (const auto interchange = outline_.InterchangeHolding(segment);
        interchange && *interchange < visibleInterchanges_)
        return Make({ Kind::Interchange, *interchange });
    return {};
}

QModelIndex StructureModel::HlHolding(const QModelIndex &set, qint64 segment) const
{
    const Node node = NodeOf(set);
    const auto tree = treeOfSet_.constFind(node.index);
    if (node.kind != Kind::Set || tree == treeOfSet_.constEnd())
        return {};
    const qint64 hl = trees_[size_t(*tree)].tree.NodeHolding(segment);
    return hl < 0 ? QModelIndex() : Make({ Kind::Hl, hl, *tree });
}
