#pragma once

#include <QPixmap>

class QLabel;
class QWidget;

// The 529 x 287 picture of the splash and About windows, drawn by the program: the product's
// name and edition on a dark band across the middle, the maker's logo in the lower right.
namespace SplashPicture {

constexpr int Width = 529;
constexpr int Height = 287;

QPixmap Draw();

// Sizes window to the picture and shows it in image, which fills the window. The picture is
// drawn once for both windows that show it.
void Show(QWidget *window, QLabel *image);

// Places window at the centre of the primary screen's available area.
void CentreOnPrimaryScreen(QWidget *window);

} // namespace SplashPicture
