#include "WindowPlacement.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

WindowPlacement::WindowPlacement(QWidget *window)
    : QObject(window)
    , window_(window)
{
    window_->installEventFilter(this);
}

void WindowPlacement::Restore(const StoredSettings::WindowGeometry &stored)
{
    restored_ = stored;
    applied_ = false;
    // On a window not yet shown, move places the frame's corner: the window system puts the
    // frame there when it adds it.
    if (stored.Left && stored.Top)
        window_->move(*stored.Left, *stored.Top);
    // The frame's size is not known yet: its width and height are taken off once it is.
    if (stored.Width || stored.Height)
        window_->resize(
            stored.Width.value_or(window_->width()), stored.Height.value_or(window_->height()));
}

StoredSettings::WindowGeometry WindowPlacement::ToStore() const
{
    if (!shown_)
        return restored_;
    return StoredSettings::GeometryToStore(window_->windowState(), window_->frameGeometry());
}

bool WindowPlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == window_ && event->type() == QEvent::Show && !shown_) {
        shown_ = true;
        // The platform window exists from here on; its first exposure comes after the window
        // system has placed it and framed it.
        if (QWindow *handle = window_->windowHandle())
            handle->installEventFilter(this);
    } else if (watched != window_ && event->type() == QEvent::Expose && !applied_
        && static_cast<QWindow *>(watched)->isExposed()) {
        applied_ = true;
        watched->removeEventFilter(this);
        ApplyRestored();
    }
    return false;
}

void WindowPlacement::ApplyRestored()
{
    // A window the window system shows maximized or minimized keeps that state.
    if (window_->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    const QRect frame = window_->frameGeometry();
    const QRect target(
        QPoint(restored_.Left.value_or(frame.left()), restored_.Top.value_or(frame.top())),
        QSize(restored_.Width.value_or(frame.width()), restored_.Height.value_or(frame.height())));
    if (target.topLeft() != frame.topLeft())
        window_->move(target.topLeft());
    if (target.size() != frame.size())
        window_->resize(target.size() - (frame.size() - window_->geometry().size()));
}
