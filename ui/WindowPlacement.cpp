#include "WindowPlacement.h"

#include "ScreenFit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
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
    positionOffScreen_ = false;
    // Kept on a screen before the window is ever shown, so that no window opens off every
    // screen or larger than one (with a back buffer of that size).
    const QRect wanted(
        QPoint(stored.Left.value_or(window_->x()), stored.Top.value_or(window_->y())),
        QSize(stored.Width.value_or(window_->width()), stored.Height.value_or(window_->height())));
    std::optional<QRect> fitted = FitOnScreens(wanted);
    if (!fitted) {
        // Off every screen: the window system places it instead.
        positionOffScreen_ = true;
        fitted = FitOnScreens(QRect(window_->pos(), wanted.size()));
    }
    const QRect target = fitted.value_or(wanted);
    // On a window not yet shown, move places the frame's corner: the window system puts the
    // frame there when it adds it.
    if (stored.Left && stored.Top && !positionOffScreen_)
        window_->move(target.topLeft());
    // The frame's size is not known yet: its width and height are taken off once it is.
    if (stored.Width || stored.Height)
        window_->resize(target.size());
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
    const QPoint position = positionOffScreen_
        ? frame.topLeft()
        : QPoint(restored_.Left.value_or(frame.left()), restored_.Top.value_or(frame.top()));
    const QRect wanted(position,
        QSize(restored_.Width.value_or(frame.width()), restored_.Height.value_or(frame.height())));
    // Wholly on the screen it overlaps most; off every screen, where the window system put it.
    std::optional<QRect> fitted = FitOnScreens(wanted);
    if (!fitted)
        fitted = FitOnScreens(QRect(frame.topLeft(), wanted.size()));
    const QRect target = fitted.value_or(wanted);
    if (target.topLeft() != frame.topLeft())
        window_->move(target.topLeft());
    if (target.size() != frame.size())
        window_->resize(target.size() - (frame.size() - window_->geometry().size()));
}

std::optional<QRect> WindowPlacement::FitOnScreens(const QRect &frame)
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return ScreenFit::Fit(frame, areas);
}
