#pragma once

#include <QList>
#include <QRect>

#include <optional>

// Where a restored window goes so that the user sees it: inside the available area of a screen.
namespace ScreenFit {

// frame moved and shrunk to lie wholly within the area it overlaps most; nothing when it
// overlaps none of areas (it would not show at all).
std::optional<QRect> Fit(const QRect &frame, const QList<QRect> &areas);

} // namespace ScreenFit
