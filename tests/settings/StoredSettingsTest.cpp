#include "StoredSettings.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace StoredSettings;

QStringList Lines(std::initializer_list<const char *> lines)
{
    QStringList list;
    for (const char *line : lines)
        list.append(QString::fromUtf8(line));
    return list;
}

// A file as a user or an older run may leave it: odd spellings, gaps, keys out of range.
const QStringList UntidyFile = Lines({
    "height=300", // found although written in small letters
    "Width =640", // name ends in a space: not Width
    "Top=-40", // off-screen positions are kept
    "Left=12abc", // not a number
    "MRU3=/data/third.x12",
    "MRU1=/data/a=b.x12", // a path holding "="
    "MRU6=/data/seventh.x12", // beyond MRU5
    "mru1=/data/duplicate.x12", // the first MRU1 wins
    "DirectoryHistory0=/zero", // histories count from 1
    "DirectoryHistory2=/in",
    "DirectoryHistory3=", // empty: skipped
    "DirectoryHistory5=/out",
    "DirectoryHistory21=/beyond",
    "SearchHistory1=ISA*00",
    "SearchTop=10",
    "SearchLeft=20",
    "SearchHeight=x",
    "FileNameWidth=120",
    "FileDirWidth=-5", // any integer goes to the grid as it is
    "FileDateWidth=",
    "Stranger=1",
    "no equals sign here",
});

TEST(StoredSettingsTest, MainWindowRestoresUsableValuesAndRecentFilesWithoutGaps)
{
    const MainWindowSettings main = ReadMainWindow(TSettingsList(UntidyFile));
    EXPECT_EQ(main.Geometry, (WindowGeometry { -40, std::nullopt, 300, std::nullopt }));
    EXPECT_EQ(main.MRUList, Lines({ "/data/a=b.x12", "/data/third.x12" }));
}

TEST(StoredSettingsTest, AnEmptyRecentFileIsAnEntryAndAMissingOneIsNot)
{
    const MainWindowSettings main
        = ReadMainWindow(TSettingsList(Lines({ "MRU0=", "MRU2=/b.x12", "MRU5=/f.x12" })));
    EXPECT_EQ(main.MRUList, Lines({ "", "/b.x12", "/f.x12" }));
    EXPECT_EQ(main.Geometry, WindowGeometry {});
}

// A path is at most PATH_MAX bytes (4096 on Linux): longer recent files and folders are no files,
// and a huge one made the menu showing it take seconds to open. Search texts may be longer.
TEST(StoredSettingsTest, PathsLongerThanAnyPathAreSkipped)
{
    const QString longest = u'/' + QString(4095, u'a');
    const QString tooLong = longest + u'a';
    const QString tooManyBytes = u'/' + QString(2048, QChar(0xE9)); // 4097 bytes in UTF-8
    const QString huge(10 << 20, u'x');
    TSettingsList list;
    const QStringList values = { tooLong, longest, tooManyBytes, huge, QStringLiteral("/kept") };
    for (int i = 0; i < values.size(); ++i) {
        list.SetValue(RecentFileKey(i), values[i]);
        list.SetValue(FolderHistoryKey(i), values[i]);
        list.SetValue(SearchTextHistoryKey(i), values[i]);
    }
    EXPECT_EQ(ReadMainWindow(list).MRUList, QStringList({ longest, QStringLiteral("/kept") }));
    const SearchWindowSettings search = ReadSearchWindow(list);
    EXPECT_EQ(search.FolderHistory, QStringList({ longest, QStringLiteral("/kept") }));
    EXPECT_EQ(search.SearchTextHistory, values);
}

TEST(StoredSettingsTest, SearchWindowRestoresHistoriesGeometryAndColumns)
{
    const SearchWindowSettings search = ReadSearchWindow(TSettingsList(UntidyFile));
    EXPECT_EQ(search.FolderHistory, Lines({ "/in", "/out" }));
    EXPECT_EQ(search.SearchTextHistory, Lines({ "ISA*00" }));
    EXPECT_EQ(search.Geometry, (WindowGeometry { 10, 20, std::nullopt, std::nullopt }));
    const std::array<std::optional<qint32>, 4> widths { 120, -5, std::nullopt, std::nullopt };
    EXPECT_EQ(search.ColumnWidths, widths);
}

TEST(StoredSettingsTest, GeometryIsStoredOnlyForAWindowInTheNormalState)
{
    const QRect frame(QPoint(-8, 30), QSize(640, 480)); // left -8, top 30
    const WindowGeometry stored { 30, -8, 480, 640 };
    const struct
    {
        Qt::WindowStates state;
        WindowGeometry expected;
    } cases[] = {
        { Qt::WindowNoState, stored },
        { Qt::WindowActive, stored },
        { Qt::WindowMaximized, {} },
        { Qt::WindowMinimized, {} },
        { Qt::WindowMinimized | Qt::WindowMaximized, {} },
        { Qt::WindowFullScreen, {} },
    };
    for (const auto &c : cases)
        EXPECT_EQ(GeometryToStore(c.state, frame), c.expected) << int(c.state);
}

TEST(StoredSettingsTest, WritesInKeyOrderWithinTheRangesAndOnlyWhatOneLineCarries)
{
    MainWindowSettings main;
    main.Geometry = {}; // maximized at close
    for (int i = 0; i < 8; ++i)
        main.MRUList.append(QStringLiteral("/f%1.x12").arg(i));
    main.MRUList[1].clear(); // an empty entry is not written
    main.PanelsShown = { { QStringLiteral("ElementPanel"), true },
        { QStringLiteral("StructurePane"), false }, { QStringLiteral("Unknown"), true } };
    main.ViewFont = QStringLiteral("DejaVu Sans Mono,10,-1,5,400,0,0,0,0,0,0,0,0,0,0,1");
    SearchWindowSettings search;
    search.Geometry = { 5, 6, 335, 494 };
    search.ColumnWidths = { 64, 200, std::nullopt, 90 };
    for (int i = 0; i < 25; ++i)
        search.FolderHistory.append(QStringLiteral("/d%1").arg(i));
    search.SearchTextHistory = Lines({ "two\nlines", "N1*PR" });

    TSettingsList list(Lines({ "Stale=1", "MRU0=/old.x12" }));
    Write(list, main, search);

    QStringList expected = Lines({ "SearchTop=5", "SearchLeft=6", "SearchHeight=335",
        "SearchWidth=494", "FileNameWidth=64", "FileDirWidth=200", "FileDateWidth=90",
        "MRU0=/f0.x12", "MRU2=/f2.x12", "MRU3=/f3.x12", "MRU4=/f4.x12", "MRU5=/f5.x12" });
    for (int i = 0; i < 20; ++i)
        expected.append(QStringLiteral("DirectoryHistory%1=/d%2").arg(i + 1).arg(i));
    expected.append(QStringLiteral("SearchHistory2=N1*PR"));
    expected.append(QStringLiteral("StructurePane=0"));
    expected.append(QStringLiteral("ElementPanel=1"));
    expected.append(QStringLiteral("ViewFont=") + main.ViewFont);
    EXPECT_EQ(list.Lines(), expected);
    const MainWindowSettings reread = ReadMainWindow(list);
    EXPECT_EQ(reread.PanelsShown.size(), 2u);
    EXPECT_TRUE(reread.PanelsShown.at(QStringLiteral("ElementPanel")));
    EXPECT_FALSE(reread.PanelsShown.at(QStringLiteral("StructurePane")));
    EXPECT_EQ(reread.ViewFont, main.ViewFont);
}

TEST(StoredSettingsTest, ANextRunGetsBackWhatWasStoredRenumberedAndTidied)
{
    ScratchFolder folder;
    const QString path = folder.File(QStringLiteral("Brimlet.ini"));

    TSettingsList loaded(UntidyFile);
    MainWindowSettings main = ReadMainWindow(loaded);
    const SearchWindowSettings search = ReadSearchWindow(loaded);
    main.Geometry = { -40, -1200, 300, 640 };
    Write(loaded, main, search);
    loaded.SaveToFile(path);

    TSettingsList reread;
    ASSERT_TRUE(reread.LoadFromFile(path));
    EXPECT_EQ(reread.Lines(),
        Lines({ "Top=-40", "Left=-1200", "Height=300", "Width=640", "SearchTop=10", "SearchLeft=20",
            "FileNameWidth=120", "FileDirWidth=-5", "MRU0=/data/a=b.x12", "MRU1=/data/third.x12",
            "DirectoryHistory1=/in", "DirectoryHistory2=/out", "SearchHistory1=ISA*00" }));
    EXPECT_EQ(ReadMainWindow(reread).MRUList, main.MRUList);
    EXPECT_EQ(ReadMainWindow(reread).Geometry, main.Geometry);
    EXPECT_EQ(ReadSearchWindow(reread).FolderHistory, search.FolderHistory);
}

} // namespace
