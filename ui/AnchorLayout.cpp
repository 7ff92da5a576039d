#include "AnchorLayout.h"

#include <QWidget>

namespace {

// One axis: start and length in the design, and whether the near and far edges are anchored.
void PlaceAxis(int &start, int &length, bool nearAnchored, bool farAnchored, int growth)
{
    if (nearAnchored && farAnchored)
        length = qMax(0, length + growth);
    else if (farAnchored)
        start += growth;
}

} // namespace

AnchorLayout::AnchorLayout(QWidget *container, QSize designedSize)
    : QLayout(container)
    , designedSize_(designedSize)
{
    setContentsMargins(0, 0, 0, 0);
}

AnchorLayout::~AnchorLayout()
{
    for (const Entry &entry : entries_)
        delete entry.Item;
}

void AnchorLayout::Add(QWidget *widget, const QRect &designed, Anchors anchors, Width width)
{
    addChildWidget(widget);
    entries_.append({ new QWidgetItem(widget), designed, anchors, width });
    invalidate();
}

QRect AnchorLayout::Place(const QRect &designed, Anchors anchors, QSize designedSize, QSize size)
{
    int left = designed.left();
    int width = designed.width();
    int top = designed.top();
    int height = designed.height();
    PlaceAxis(left, width, anchors.testFlag(Left), anchors.testFlag(Right),
        size.width() - designedSize.width());
    PlaceAxis(top, height, anchors.testFlag(Top), anchors.testFlag(Bottom),
        size.height() - designedSize.height());
    return { left, top, width, height };
}

void AnchorLayout::addItem(QLayoutItem *item)
{
    // An item added the generic way stays where its widget stands now.
    const QRect at = item->widget() ? item->widget()->geometry() : QRect();
    entries_.append({ item, at, Anchors(Left | Top), Width::Designed });
}

QLayoutItem *AnchorLayout::itemAt(int index) const
{
    return index >= 0 && index < entries_.size() ? entries_[index].Item : nullptr;
}

QLayoutItem *AnchorLayout::takeAt(int index)
{
    if (index < 0 || index >= entries_.size())
        return nullptr;
    return entries_.takeAt(index).Item;
}

int AnchorLayout::count() const
{
    return int(entries_.size());
}

QSize AnchorLayout::sizeHint() const
{
    return designedSize_;
}

QSize AnchorLayout::minimumSize() const
{
    return { 0, 0 };
}

void AnchorLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    for (const Entry &entry : entries_) {
        QRect placed = Place(entry.Designed, entry.Edges, designedSize_, rect.size());
        QWidget *widget = entry.Item->widget();
        if (!widget) {
            entry.Item->setGeometry(placed.translated(rect.topLeft()));
            continue;
        }
        if (entry.Width == Width::FitsText) {
            const int needed = widget->sizeHint().width();
            if (needed > placed.width()) {
                if (entry.Edges.testFlag(Right) && !entry.Edges.testFlag(Left))
                    placed.setLeft(placed.right() + 1 - needed);
                else
                    placed.setWidth(needed);
            }
        }
        // Set on the widget itself: the designed rectangles are the widgets' own frames.
        widget->setGeometry(placed.translated(rect.topLeft()));
    }
}
