// Fuzzes the settings file: parsing arbitrary text, lookups and updates, the stored values read
// back after being written (a round trip keeps every key it should), and now and then the file
// itself written and read again.

#include "NameValueLines.h"
#include "SettingsList.h"
#include "StoredSettings.h"

#include "Exception.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList lines = NameValueLines::Split(text);
    for (const QString &line : lines)
        FuzzInput::Check(!line.contains(u'\r') && !line.contains(u'\n'));
    TSettingsList list(lines);

    // What the windows restore, written and read back, comes back the same, empty recent-file
    // entries aside (they are not stored).
    const StoredSettings::MainWindowSettings main = StoredSettings::ReadMainWindow(list);
    const StoredSettings::SearchWindowSettings search = StoredSettings::ReadSearchWindow(list);
    FuzzInput::Check(main.MRUList.size() <= StoredSettings::RecentFileCount);
    FuzzInput::Check(search.FolderHistory.size() <= StoredSettings::HistoryCount);
    TSettingsList written;
    StoredSettings::Write(written, main, search);
    const auto mainAgain = StoredSettings::ReadMainWindow(written);
    const auto searchAgain = StoredSettings::ReadSearchWindow(written);
    QStringList recent = main.MRUList;
    recent.removeAll(QString());
    FuzzInput::Check(mainAgain.MRUList == recent);
    FuzzInput::Check(mainAgain.Geometry == main.Geometry);
    FuzzInput::Check(searchAgain.Geometry == search.Geometry);
    FuzzInput::Check(searchAgain.ColumnWidths == search.ColumnWidths);
    FuzzInput::Check(searchAgain.FolderHistory == search.FolderHistory);
    FuzzInput::Check(searchAgain.SearchTextHistory == search.SearchTextHistory);
    for (const QString &line : written.Lines())
        FuzzInput::Check(line.indexOf(u'=') > 0 && line.indexOf(u'=') < line.size() - 1);

    // Updates: a value set is the value found, an empty one removes the first such line.
    if (!lines.isEmpty()) {
        const QString &first = lines.front();
        const QString name = first.left(first.indexOf(u'='));
        if (!name.contains(u'=') && first.contains(u'=')) {
            FuzzInput::Check(list.Contains(name));
            list.SetValue(name, QStringLiteral("x=1"));
            FuzzInput::Check(list.Value(name) == QLatin1String("x=1"));
            const qsizetype count = list.Lines().size();
            list.SetValue(name, QString());
            FuzzInput::Check(list.Lines().size() == count - 1);
        }
    }

    // Now and then, the file itself: what is saved is what is loaded.
    if (size > 0 && data[0] % 64 == 0) {
        const QString path = FuzzInput::ScratchPath(QStringLiteral(".ini"));
        try {
            TSettingsList saved(lines);
            saved.SaveToFile(path);
            TSettingsList loaded;
            FuzzInput::Check(loaded.LoadFromFile(path));
            QStringList expected = lines;
            if (!expected.isEmpty() && expected.front().startsWith(QChar(0xFEFF)))
                expected.front().remove(0, 1);
            FuzzInput::Check(loaded.Lines() == expected);
        } catch (const Exception &) {
            FuzzInput::Check(false);
        }
    }
    return 0;
}
