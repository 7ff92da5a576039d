#include "HoverToolTip.h"

#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

HoverToolTip::HoverToolTip(QWidget *widget, TipAt tipAt)
    : QObject(widget)
    , widget_(widget)
    , tipAt_(std::move(tipAt))
{
    widget->installEventFilter(this);
}

bool HoverToolTip::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != widget_ || event->type() != QEvent::ToolTip)
        return false;
    const auto *help = static_cast<QHelpEvent *>(event);
    const Tip tip = tipAt_(help->pos());
    if (tip.Text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(), tip.Text, widget_, tip.Area);
    }
    return true;
}
