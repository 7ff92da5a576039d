#include "StructurePane.h"

#include "StructureModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTreeView>
#include <QVBoxLayout>

StructurePane::StructurePane(QWidget *parent)
    : QWidget(parent)
    , model_(new StructureModel(this))
    , tree_(new QTreeView(this))
{
    setObjectName(QStringLiteral("StructurePane"));
    tree_->setObjectName(QStringLiteral("structureTree"));
    tree_->setModel(model_);
    // Rows of one height let the view lay out a group of thousands of sets at once.
    tree_->setUniformRowHeights(true);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->header()->setSectionResizeMode(StructureModel::EnvelopeColumn, QHeaderView::Interactive);
    tree_->header()->setStretchLastSection(true);
    tree_->setColumnWidth(StructureModel::EnvelopeColumn, 140);
    // A set's HL tree is read as the set opens, not at the view's next layout.
    connect(tree_, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        if (model_->canFetchMore(index))
            model_->fetchMore(index);
    });
    connect(tree_, &QTreeView::clicked, this, &StructurePane::Activated);
    connect(tree_, &QTreeView::activated, this, &StructurePane::Activated);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tree_);
}

void StructurePane::SetOutline(EnvelopeOutline outline, bool complete)
{
    model_->SetOutline(std::move(outline), complete);
    // A single interchange is shown open: its groups are what the user looks for.
    if (model_->rowCount() == 1)
        tree_->expand(model_->index(0, 0));
}

void StructurePane::UpdateOutline(EnvelopeOutline outline, bool complete)
{
    const bool wasEmpty = model_->rowCount() == 0;
    model_->UpdateOutline(std::move(outline), complete);
    if (wasEmpty && model_->rowCount() == 1)
        tree_->expand(model_->index(0, 0));
}

void StructurePane::Clear()
{
    model_->SetOutline({}, true);
    model_->SetSegmentSource({});
}

void StructurePane::SetSegmentSource(HlTree::SegmentSource source)
{
    model_->SetSegmentSource(std::move(source));
}

void StructurePane::SelectSegment(qint64 segment)
{
    QModelIndex index = model_->IndexHolding(segment);
    if (index.isValid() && tree_->isExpanded(index)) {
        const QModelIndex hl = model_->HlHolding(index, segment);
        if (hl.isValid())
            index = hl;
    }
    if (!index.isValid()) {
        tree_->selectionModel()->clearSelection();
        return;
    }
    // The selection follows the caret: it asks for no move of its own.
    tree_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    tree_->scrollTo(index);
}

void StructurePane::Activated(const QModelIndex &index)
{
    const QVariant segment = index.data(StructureModel::SegmentRole);
    if (segment.isValid())
        emit GoToSegment(segment.toLongLong());
}
