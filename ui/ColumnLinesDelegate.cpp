#include "ColumnLinesDelegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

void ColumnLinesDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    // The colour a table's own grid would have.
    const QColor lineColour = QColor::fromRgba(
        QRgb(style->styleHint(QStyle::SH_Table_GridLineColor, &option, option.widget)));
    painter->save();
    painter->setPen(lineColour);
    painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
    painter->restore();
}
