#include "ScreenFit.h"

namespace ScreenFit {

std::optional<QRect> Fit(const QRect &frame, const QList<QRect> &areas)
{
    const QRect *best = nullptr;
    qint64 bestOverlap = 0;
    for (const QRect &area : areas) {
        const QRect overlap = frame.intersected(area);
        const qint64 size = overlap.isEmpty() ? 0 : qint64(overlap.width()) * overlap.height();
        if (size > bestOverlap) {
            best = &area;
            bestOverlap = size;
        }
    }
    if (!best)
        return std::nullopt;
    const QSize size = frame.size().boundedTo(best->size());
    const int left
        = qBound(best->left(), frame.left(), best->left() + best->width() - size.width());
    const int top = qBound(best->top(), frame.top(), best->top() + best->height() - size.height());
    return QRect(QPoint(left, top), size);
}

} // namespace ScreenFit
