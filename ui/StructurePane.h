#pragma once

#include "EnvelopeOutline.h"
#include "HlTree.h"

#include <QWidget>

class QTreeView;
class StructureModel;

// The Structure pane: the tree of a file's interchanges, groups and transaction sets with their
// key values and counts; a set opens into its HL tree. Clicking a node asks to go to its
// segment; the caret's segment selects the node that holds it.
class StructurePane : public QWidget
{
    Q_OBJECT

public:
    explicit StructurePane(QWidget *parent = nullptr);

    // A file's outline, replacing what is shown. complete: the check has ended.
    void SetOutline(EnvelopeOutline outline, bool complete);
    // A later snapshot of the same file's check: what is new is added; what is open, selected
    // or scrolled to stays.
    void UpdateOutline(EnvelopeOutline outline, bool complete);
    // Shows nothing, as when no file is open.
    void Clear();
    // How sets read their segments for their HL trees, from the file shown; give a new one
    // with each file. Without one, sets do not open.
    void SetSegmentSource(HlTree::SegmentSource source);

public slots:
    // Selects the deepest node holding segment (an HL only in a set that is open), without
    // asking to go anywhere.
    void SelectSegment(qint64 segment);

signals:
    void GoToSegment(qint64 segment);

private:
    void Activated(const QModelIndex &index);

    StructureModel *model_;
    QTreeView *tree_;
};
