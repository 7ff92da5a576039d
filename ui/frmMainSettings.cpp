// The main window's settings: loaded when the window is created, saved when it closes, for both
// windows, the recent files and the view's font, which View > Font chooses.

#include "frmMain.h"

#include "RawDataView.h"
#include "SettingsFolder.h"
#include "StoredSettings.h"
#include "WindowPlacement.h"
#include "frmSearch.h"

#include <QDockWidget>

void TForm1::LoadSettings()
{
    SettingsList.Clear();
    MRUList.clear();
    if (!Placement)
        Placement = new WindowPlacement(this);
    SettingsFolder = ::SettingsFolder::Path();
    // Without a file the window keeps the window system's placement and its designed size.
    if (!SettingsList.LoadFromFile(::SettingsFolder::FilePath(SettingsFolder)))
        return;

    const StoredSettings::MainWindowSettings stored = StoredSettings::ReadMainWindow(SettingsList);
    // A font text QFont cannot read leaves the default.
    if (QFont font; !stored.ViewFont.isEmpty() && font.fromString(stored.ViewFont)) {
        Memo1->setFont(font);
        viewFont_ = stored.ViewFont;
    }
    Placement->Restore(stored.Geometry);
    MRUList = stored.MRUList;
    for (const auto &[dock, key] : panels_) {
        const auto shown = stored.PanelsShown.find(key);
        if (shown != stored.PanelsShown.end())
            dock->setVisible(shown->second);
    }
    RebuildRecentFiles();
}

void TForm1::FormClose()
{
    StoredSettings::MainWindowSettings main;
    if (Placement)
        main.Geometry = Placement->ToStore();
    main.MRUList = MRUList;
    main.ViewFont = viewFont_;
    for (const auto &[dock, key] : panels_)
        main.PanelsShown[key] = !dock->isHidden();
    const StoredSettings::SearchWindowSettings search
        = search_ ? search_->SettingsToStore() : StoredSettings::SearchWindowSettings();
    StoredSettings::Write(SettingsList, main, search);
    SettingsList.SaveToFile(::SettingsFolder::FilePath(SettingsFolder));
}

void TForm1::Font1Click()
{
    const std::optional<QFont> font = ChooseFont(Memo1->font());
    if (!font)
        return;
    Memo1->setFont(*font);
    viewFont_ = font->toString();
}
