// The Find in Files window's settings: restored from the settings file's lines when the
// window is created; stored by the main window when the program ends.

#include "frmSearch.h"

#include "SettingsList.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QTableWidget>

namespace {

// Fills an empty history and its box's drop-down items, leaving the box's text empty.
void RestoreHistory(QStringList &history, QComboBox *box, const QStringList &stored)
{
    history = stored;
    box->addItems(stored);
    box->setCurrentIndex(-1);
}

} // namespace

void TSearch::FormCreate(const TSettingsList &settings)
{
    Placement = new WindowPlacement(this);
    const StoredSettings::SearchWindowSettings stored = StoredSettings::ReadSearchWindow(settings);
    RestoreHistory(FolderHistory, Folder, stored.FolderHistory);
    RestoreHistory(SearchTextHistory, FindText, stored.SearchTextHistory);
    Placement->Restore(stored.Geometry);
    // Any width that converts goes to the grid as it is.
    for (int column = 0; column < StoredSettings::ResultColumnCount; ++column) {
        if (stored.ColumnWidths[column])
            StringGrid1->setColumnWidth(column, *stored.ColumnWidths[column]);
    }
}

StoredSettings::SearchWindowSettings TSearch::SettingsToStore() const
{
    StoredSettings::SearchWindowSettings settings;
    settings.Geometry = Placement->ToStore();
    for (int column = 0; column < StoredSettings::ResultColumnCount; ++column)
        settings.ColumnWidths[column] = StringGrid1->columnWidth(column);
    settings.FolderHistory = FolderHistory;
    settings.SearchTextHistory = SearchTextHistory;
    return settings;
}
