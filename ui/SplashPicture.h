#pragma once

#include <QPixmap>

// The 529 x 287 picture of the splash and About windows, drawn by the program: the product's
// name and edition on a dark band across the middle, the maker's logo in the lower right.
namespace SplashPicture {

constexpr int Width = 529;
constexpr int Height = 287;

QPixmap Draw();

} // namespace SplashPicture
