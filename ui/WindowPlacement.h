#pragma once

#include "StoredSettings.h"

#include <QObject>
#include <QRect>

#include <optional>

class QWidget;

// Puts a top-level window where its stored frame geometry says, kept wholly on a screen, and
// reads back the geometry to store at close. Positions and sizes are those of the outer frame,
// title and borders included. A stored position off every screen gives way to the window
// system's placement.
//
// The window system decides a new window's default position, and the size of its frame, only
// when it first shows the window. So Restore applies what it can to the hidden window (the
// position when both parts are stored, the size as if the frame had no width), and once the
// window is first shown, every stored part that is not met yet replaces what the window system
// chose: the window is then where it was stored, frame included.
class WindowPlacement : public QObject
{
public:
    explicit WindowPlacement(QWidget *window);

    // On the still hidden window: each stored part replaces the coordinate or dimension it
    // names; absent parts keep the window system's placement and the designed size.
    void Restore(const StoredSettings::WindowGeometry &stored);
    // What Restore was given, its unusable parts absent.
    const StoredSettings::WindowGeometry &Restored() const { return restored_; }

    // What the window stores at close: its frame in the normal state, nothing when it is
    // maximized, minimized or full screen. A window not shown during the run has no position
    // of its own yet: it stores again what was restored.
    StoredSettings::WindowGeometry ToStore() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyRestored();
    // frame wholly on the screen it overlaps most; nothing when it is off every screen.
    static std::optional<QRect> FitOnScreens(const QRect &frame);

    QWidget *window_;
    StoredSettings::WindowGeometry restored_;
    bool shown_ = false;
    bool applied_ = false;
    bool positionOffScreen_ = false; // the stored position showed on no screen
};
