#pragma once

#include "EnvelopeOutline.h"
#include "HlTree.h"

#include <QAbstractItemModel>
#include <QHash>

#include <vector>

// The envelope outline as a tree: interchanges, their groups, their transaction sets, and a
// set's HL tree, read from its segments when the set is first opened.
class StructureModel : public QAbstractItemModel
{
public:
    enum Column { EnvelopeColumn, DetailsColumn, ColumnCount };
    static constexpr int SegmentRole = Qt::UserRole + 1; // the node's first segment, qint64

    explicit StructureModel(QObject *parent = nullptr);

    // Shows outline instead of what was shown. complete: the check has ended, so the last set
    // is whole and may open too.
    void SetOutline(EnvelopeOutline outline, bool complete);
    // Shows a later snapshot of the same check: what is new is inserted, nothing else moves.
    void UpdateOutline(EnvelopeOutline outline, bool complete);
    // How sets read their segments for their HL trees; without one, sets do not open.
    void SetSegmentSource(HlTree::SegmentSource source);

    const EnvelopeOutline &Outline() const { return outline_; }
    // The set, else the group, else the interchange whose segments include segment; invalid
    // when none does.
    QModelIndex IndexHolding(qint64 segment) const;
    // The HL node of set's tree whose segments include segment, when the tree has been read.
    QModelIndex HlHolding(const QModelIndex &set, qint64 segment) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    enum class Kind : quint64 { None, Interchange, Group, Set, Hl };
    struct Node
    {
        Kind kind = Kind::None;
        qint64 index = 0; // record index; for an HL, the node's in its tree
        qint64 tree = 0; // for an HL, its tree's place in trees_
    };
    struct SetTree
    {
        qint64 set;
        HlTree tree;
    };

    static quintptr Id(const Node &node);
    static Node NodeOf(const QModelIndex &index);
    QModelIndex Make(const Node &node, int column = 0) const;
    int Row(const Node &node) const;
    qint64 Segment(const Node &node) const;
    bool MayOpen(qint64 set) const;
    QString Label(const Node &node) const;
    QString Details(const Node &node) const;
    // Visible children of a group or an interchange: the outline's, up to the visible counts.
    qint64 SetRows(qint64 group) const;
    qint64 GroupRows(qint64 interchange) const;

    EnvelopeOutline outline_;
    bool complete_ = false;
    // While a snapshot is being inserted, the records shown so far.
    qint64 visibleInterchanges_ = 0;
    qint64 visibleGroups_ = 0;
    qint64 visibleSets_ = 0;
    HlTree::SegmentSource source_;
    std::vector<SetTree> trees_;
    QHash<qint64, qint64> treeOfSet_;
};
