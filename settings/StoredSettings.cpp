#include "StoredSettings.h"

#include <QFile>

#include <climits>

namespace StoredSettings {

namespace {

#ifdef PATH_MAX
constexpr qsizetype PathMax = PATH_MAX;
#else
constexpr qsizetype PathMax = 4096;
#endif

// No file has a path this long: such an entry opens nothing, and a huge one makes the menu or
// the list that shows it slow to open.
bool LongerThanAPath(const QString &value)
{
    return value.size() > PathMax || QFile::encodeName(value).size() > PathMax;
}

struct GeometryKeys
{
    const char16_t *Top;
    const char16_t *Left;
    const char16_t *Height;
    const char16_t *Width;
};

constexpr GeometryKeys MainWindowKeys { u"Top", u"Left", u"Height", u"Width" };
constexpr GeometryKeys SearchWindowKeys { u"SearchTop", u"SearchLeft", u"SearchHeight",
    u"SearchWidth" };
constexpr std::array<const char16_t *, ResultColumnCount> ColumnWidthKeys { u"FileNameWidth",
    u"FileDirWidth", u"FileSizeWidth", u"FileDateWidth" };

WindowGeometry ReadGeometry(const TSettingsList &list, const GeometryKeys &keys)
{
    return { list.IntegerValue(keys.Top), list.IntegerValue(keys.Left),
        list.IntegerValue(keys.Height), list.IntegerValue(keys.Width) };
}

// pathsOnly: the entries are folders, and one longer than a path is skipped too.
QStringList ReadHistory(const TSettingsList &list, QString (*key)(int), bool pathsOnly)
{
    QStringList history;
    for (int i = 0; i < HistoryCount; ++i) {
        const QString value = list.Value(key(i));
        if (!value.isEmpty() && !(pathsOnly && LongerThanAPath(value)))
            history.append(value);
    }
    return history;
}

// Stores a value unless the line format cannot carry it: a line break would split it into a
// second line, and an empty value is not stored at all.
void Store(TSettingsList &list, const QString &key, const QString &value)
{
    if (!value.contains(u'\r') && !value.contains(u'\n'))
        list.SetValue(key, value);
}

void Store(TSettingsList &list, const char16_t *key, std::optional<qint32> value)
{
    if (value)
        list.SetValue(QString::fromUtf16(key), QString::number(*value));
}

void WriteGeometry(TSettingsList &list, const GeometryKeys &keys, const WindowGeometry &geometry)
{
    Store(list, keys.Top, geometry.Top);
    Store(list, keys.Left, geometry.Left);
    Store(list, keys.Height, geometry.Height);
    Store(list, keys.Width, geometry.Width);
}

void WriteList(TSettingsList &list, const QStringList &entries, int count, QString (*key)(int))
{
    for (int i = 0; i < count && i < entries.size(); ++i)
        Store(list, key(i), entries[i]);
}

} // namespace

QString RecentFileKey(int index)
{
    return QStringLiteral("MRU%1").arg(index);
}

QString FolderHistoryKey(int index)
{
    return QStringLiteral("DirectoryHistory%1").arg(index + 1);
}

QString SearchTextHistoryKey(int index)
{
    return QStringLiteral("SearchHistory%1").arg(index + 1);
}

MainWindowSettings ReadMainWindow(const TSettingsList &list)
{
    MainWindowSettings settings;
    settings.Geometry = ReadGeometry(list, MainWindowKeys);
    for (int i = 0; i < RecentFileCount; ++i) {
        const QString key = RecentFileKey(i);
        if (!list.Contains(key))
            continue;
        const QString path = list.Value(key);
        if (!LongerThanAPath(path))
            settings.MRUList.append(path);
    }
    for (const char16_t *key : PanelKeys) {
        const std::optional<qint32> shown = list.IntegerValue(key);
        if (shown)
            settings.PanelsShown[QString::fromUtf16(key)] = *shown != 0;
    }
    settings.ViewFont = list.Value(QStringLiteral("ViewFont"));
    return settings;
}

SearchWindowSettings ReadSearchWindow(const TSettingsList &list)
{
    SearchWindowSettings settings;
    settings.FolderHistory = ReadHistory(list, FolderHistoryKey, true);
    settings.SearchTextHistory = ReadHistory(list, SearchTextHistoryKey, false);
    settings.Geometry = ReadGeometry(list, SearchWindowKeys);
    for (int i = 0; i < ResultColumnCount; ++i)
        settings.ColumnWidths[i] = list.IntegerValue(ColumnWidthKeys[i]);
    return settings;
}

WindowGeometry GeometryToStore(Qt::WindowStates state, const QRect &frame)
{
    if (state & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return {};
    return { frame.top(), frame.left(), frame.height(), frame.width() };
}

void Write(TSettingsList &list, const MainWindowSettings &main, const SearchWindowSettings &search)
{
    list.Clear();
    WriteGeometry(list, MainWindowKeys, main.Geometry);
    WriteGeometry(list, SearchWindowKeys, search.Geometry);
    for (int i = 0; i < ResultColumnCount; ++i)
        Store(list, ColumnWidthKeys[i], search.ColumnWidths[i]);
    WriteList(list, main.MRUList, RecentFileCount, RecentFileKey);
    WriteList(list, search.FolderHistory, HistoryCount, FolderHistoryKey);
    WriteList(list, search.SearchTextHistory, HistoryCount, SearchTextHistoryKey);
    for (const char16_t *key : PanelKeys) {
        const auto shown = main.PanelsShown.find(QString::fromUtf16(key));
        if (shown != main.PanelsShown.end())
            list.SetValue(shown->first, shown->second ? QStringLiteral("1") : QStringLiteral("0"));
    }
    Store(list, QStringLiteral("ViewFont"), main.ViewFont);
}

} // namespace StoredSettings
