// The main window's settings: loaded when the window is created, saved when it closes, for both
// windows, the recent files and the view's font, which View > Font chooses.

#include "frmMain.h"

#include "RawDataView.h"
#include "SettingsFolder.h"
#include "StoredSettings.h"
#include "WindowPlacement.h"
#include "frmSearch.h"

#include <QDockWidget>
#include <QScreen>
#include <QStyle>

namespace {

// The ISA header's 105 characters and the caret after them, and the lines shown at first start.
constexpr int FirstStartColumns = 105;
constexpr int FirstStartLines = 30;
// A frame's width on each side, as window systems commonly draw it.
constexpr int FrameAllowance = 4;

} // namespace

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

void TForm1::SizeForFirstStart()
{
    const StoredSettings::WindowGeometry stored
        = Placement ? Placement->Restored() : StoredSettings::WindowGeometry();
    // A size given by the settings, or by a caller before the first showing, stays.
    const bool sizeStored = stored.Width || stored.Height;
    if ((stored.Width && stored.Height) || (!sizeStored && testAttribute(Qt::WA_Resized)))
        return;
    // What the window adds around the view's viewport: menus, tool strip, tab, scroll bars and
    // status bar.
    const QSize around = size() - Memo1->viewport()->size();
    QSize wanted = Memo1->ViewportSizeFor(FirstStartColumns, FirstStartLines) + around;
    if (const QScreen *screen = this->screen()) {
        // Room for the frame and title bar the window system adds.
        const int title = style()->pixelMetric(QStyle::PM_TitleBarHeight);
        wanted = wanted.boundedTo(screen->availableGeometry().size()
            - QSize(2 * FrameAllowance, title + 2 * FrameAllowance));
    }
    resize(stored.Width ? width() : wanted.width(), stored.Height ? height() : wanted.height());
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
