#include "ToolIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

using Drawing = std::function<void(QPainter &)>;

const QColor Ink(60, 60, 60);
const QColor Paper(250, 250, 250);
const QColor Accent(52, 101, 164);

// Draws on a 32 x 32 grid, rendered at the sizes menus and tool buttons ask for.
QIcon Drawn(const char *themeName, const Drawing &draw)
{
    QIcon themed = QIcon::fromTheme(QLatin1String(themeName));
    if (!themed.isNull())
        return themed;
    QIcon icon;
    for (int size : { 16, 22, 32 }) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 32.0, size / 32.0);
        painter.setPen(QPen(Ink, 2));
        draw(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

void Page(QPainter &painter, const QRectF &rect)
{
    painter.setBrush(Paper);
    painter.drawRect(rect);
    painter.setPen(QPen(Ink, 1.5));
    for (int line = 0; rect.top() + 5 + 4 * line < rect.bottom() - 3; ++line) {
        const qreal y = rect.top() + 5 + 4 * line;
        painter.drawLine(QPointF(rect.left() + 4, y), QPointF(rect.right() - 4, y));
    }
    painter.setPen(QPen(Ink, 2));
}

void Magnifier(QPainter &painter, const QPointF &centre, qreal radius)
{
    painter.setBrush(QColor(220, 232, 245));
    painter.setPen(QPen(Accent, 3));
    painter.drawEllipse(centre, radius, radius);
    painter.setPen(QPen(Accent, 4, Qt::SolidLine, Qt::RoundCap));
    const QPointF edge = centre + QPointF(radius, radius) * 0.72;
    painter.drawLine(edge, edge + QPointF(radius, radius) * 0.75);
    painter.setPen(QPen(Ink, 2));
}

} // namespace

namespace ToolIcons {

QIcon Copy()
{
    return Drawn("edit-copy", [](QPainter &p) {
        Page(p, QRectF(4, 3, 16, 20));
        Page(p, QRectF(12, 9, 16, 20));
    });
}

QIcon Find()
{
    return Drawn("edit-find", [](QPainter &p) {
        Page(p, QRectF(4, 3, 18, 24));
        Magnifier(p, QPointF(18, 17), 6);
    });
}

QIcon FindInFiles()
{
    return Drawn("system-search", [](QPainter &p) {
        QPainterPath folder;
        folder.moveTo(2, 8);
        folder.lineTo(11, 8);
        folder.lineTo(13, 11);
        folder.lineTo(26, 11);
        folder.lineTo(26, 26);
        folder.lineTo(2, 26);
        folder.closeSubpath();
        p.setBrush(QColor(237, 212, 120));
        p.drawPath(folder);
        Magnifier(p, QPointF(20, 19), 6);
    });
}

QIcon Print()
{
    return Drawn("document-print", [](QPainter &p) {
        Page(p, QRectF(9, 2, 14, 12));
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(Paper);
        p.drawRect(QRectF(9, 20, 14, 9));
        p.setBrush(Accent);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QPointF(25, 16), 1.5, 1.5);
    });
}

} // namespace ToolIcons
