#pragma once

#include <QStyledItemDelegate>

// Draws a grid's cells with a line at the right edge of each, so that a table without its own
// grid shows lines between columns but none between rows.
class ColumnLinesDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override;
};
