#pragma once

#include "SettingsList.h"

#include <QRect>
#include <QString>
#include <QStringList>
#include <Qt>

#include <array>
#include <map>
#include <optional>

// What the settings file stores, under which keys and in which order, and how the stored values
// come back. The windows only apply what is read here and hand over what they hold at close.
namespace StoredSettings {

inline constexpr int RecentFileCount = 6; // MRU0 .. MRU5
inline constexpr int HistoryCount = 20; // DirectoryHistory1 .. 20, SearchHistory1 .. 20
inline constexpr int ResultColumnCount = 4;

// A window's position and outer size (frame included), in screen pixels; each part absent when
// it is not stored or its stored value is unusable.
struct WindowGeometry
{
    std::optional<qint32> Top;
    std::optional<qint32> Left;
    std::optional<qint32> Height;
    std::optional<qint32> Width;

    friend bool operator==(const WindowGeometry &, const WindowGeometry &) = default;
};

// The panels the main window may show beside its view, each stored as shown (1) or hidden (0).
inline constexpr std::array<const char16_t *, 3> PanelKeys { u"StructurePane", u"ProblemsPane",
    u"ElementPanel" };

// The main window's part: Top, Left, Height, Width, the recent files (most recent first), which
// panels are shown, and the font of the raw data view (QFont::toString, empty for the default).
struct MainWindowSettings
{
    WindowGeometry Geometry;
    QStringList MRUList;
    std::map<QString, bool> PanelsShown; // by the keys of PanelKeys; absent when not stored
    QString ViewFont;
};

// The Find in Files window's part: SearchTop .. SearchWidth, the widths of result columns 0 to 3
// (FileNameWidth, FileDirWidth, FileSizeWidth, FileDateWidth) and both histories, most recent
// first.
struct SearchWindowSettings
{
    WindowGeometry Geometry;
    std::array<std::optional<qint32>, ResultColumnCount> ColumnWidths;
    QStringList FolderHistory;
    QStringList SearchTextHistory;
};

// The key of recent file index (from 0), of history entry index (from 0) of the folder and of
// the search-text history.
QString RecentFileKey(int index);
QString FolderHistoryKey(int index);
QString SearchTextHistoryKey(int index);

// What the main window restores at creation. Recent files come from MRU0 .. MRU5 in order,
// missing numbers and paths longer than PATH_MAX skipped, an empty stored path kept as an empty
// entry.
MainWindowSettings ReadMainWindow(const TSettingsList &list);

// What the Find in Files window restores at creation. History entries that are absent or empty
// are skipped, and folders longer than PATH_MAX.
SearchWindowSettings ReadSearchWindow(const TSettingsList &list);

// The geometry a window stores at close: its frame when it is in the normal state (neither
// maximized, minimized nor full screen), nothing otherwise.
WindowGeometry GeometryToStore(Qt::WindowStates state, const QRect &frame);

// Empties list and fills it with what both windows store, in the file's key order: the main
// window's geometry, the Find in Files window's, the column widths, the first six recent files,
// the first twenty entries of each history, the panels and the view's font. Empty values are not
// stored, nor values holding a line break, which the one-line-per-entry file cannot carry.
void Write(TSettingsList &list, const MainWindowSettings &main, const SearchWindowSettings &search);

} // namespace StoredSettings
