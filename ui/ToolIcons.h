#pragma once

#include <QIcon>

// Icons of the commands that the style's standard pixmaps have no picture for: the desktop
// theme's icon where there is one, otherwise one drawn here in the theme's palette.
namespace ToolIcons {

QIcon Copy();
QIcon Find();
QIcon FindInFiles();
QIcon Print();

} // namespace ToolIcons
