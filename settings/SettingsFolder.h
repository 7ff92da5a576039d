#pragma once

#include <QString>

// Where the settings file lives: "Brimlet.ini" directly in the user's configuration folder
// (normally ~/.config, or $XDG_CONFIG_HOME).
namespace SettingsFolder {

inline constexpr char FileName[] = "Brimlet.ini";

// The user's configuration folder, without a trailing separator; the home folder when the
// system names none.
QString Path();

// The settings file in folder: the folder, one "/" and the file name.
QString FilePath(const QString &folder);

} // namespace SettingsFolder
