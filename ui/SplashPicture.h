#pragma once

#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

class QLabel;
class QWidget;

// The 529 x 287 picture of the splash and About windows, drawn by the program: the product's
// name and edition on a dark band across the middle, the maker's logo in the lower right.
namespace SplashPicture {

constexpr int Width = 529;
constexpr int Height = 287;

QPixmap Draw();

// The picture's texts never get smaller than this, in pixels.
constexpr int MinimumTextSize = 6;
// font at its pixel size, or smaller where text would not fit room whole.
QFont FitFont(QFont font, const QString &text, const QSize &room);

// Sizes window to the picture and shows it in image, which fills the window. The picture is
// drawn once for both windows that show it.
void Show(QWidget *window, QLabel *image);

// Places window at the centre of the primary screen's available area.
void CentreOnPrimaryScreen(QWidget *window);

} // namespace SplashPicture
