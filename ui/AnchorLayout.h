#pragma once

#include <QLayout>
#include <QList>
#include <QRect>
#include <QSize>

// Places widgets at the rectangles a window's design gives them inside a container of the
// designed size, and keeps each one's distance to the container edges it is anchored to as
// the container is resized: anchored left and right it stretches, right only it moves.
class AnchorLayout : public QLayout
{
public:
    enum Anchor { Left = 0x1, Top = 0x2, Right = 0x4, Bottom = 0x8 };
    Q_DECLARE_FLAGS(Anchors, Anchor)

    // Captions designed for one font may need more room in the font the system has: a
    // widget that fits its text is widened to its size hint when that is wider, keeping its
    // anchored edge (the right one when it is anchored right only).
    enum class Width { Designed, FitsText };

    AnchorLayout(QWidget *container, QSize designedSize);
    ~AnchorLayout() override;

    // Makes widget a child of the container, at designed while the container has its
    // designed size.
    void Add(
        QWidget *widget, const QRect &designed, Anchors anchors, Width width = Width::Designed);

    // Where a rectangle designed in a container of designedSize lies in one of size. An axis
    // anchored on neither side keeps its designed place; sizes do not go below zero.
    static QRect Place(const QRect &designed, Anchors anchors, QSize designedSize, QSize size);

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    struct Entry
    {
        QLayoutItem *Item;
        QRect Designed;
        Anchors Edges;
        AnchorLayout::Width Width;
    };

    QList<Entry> entries_;
    QSize designedSize_;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(AnchorLayout::Anchors)
