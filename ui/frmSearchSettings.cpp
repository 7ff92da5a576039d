// The Find in Files window's settings: restored from the settings file's lines when the
// window is created; stored by the main window when the program ends.

#include "frmSearch.h"

#include "SettingsList.h"
#include "WindowPlacement.h"

#include <QComboBox>
#include <QHeaderView>
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
    // Any width that converts goes to the grid as it is. One the grid takes counts as the user's
    // choice, unless it is the designed width, which earlier runs stored whether chosen or not.
    QHeaderView *header = StringGrid1->horizontalHeader();
    for (int column = 0; column < StoredSettings::ResultColumnCount; ++column) {
        const std::optional<qint32> width = stored.ColumnWidths[column];
        if (!width)
            continue;
        StringGrid1->setColumnWidth(column, *width);
        columnChosen_[size_t(column)]
            = StringGrid1->columnWidth(column) == *width && *width != header->defaultSectionSize();
    }
    // From here on, a width that changes other than by FitColumns is the user's.
    connect(header, &QHeaderView::sectionResized, this, [this](int column) {
        if (!fittingColumns_ && column >= 0 && column < StoredSettings::ResultColumnCount)
            columnChosen_[size_t(column)] = true;
    });
}

void TSearch::FitColumns()
{
    fittingColumns_ = true;
    for (int column = 0; column < StoredSettings::ResultColumnCount; ++column) {
        if (!columnChosen_[size_t(column)])
            StringGrid1->resizeColumnToContents(column);
    }
    fittingColumns_ = false;
}

StoredSettings::SearchWindowSettings TSearch::SettingsToStore() const
{
    StoredSettings::SearchWindowSettings settings;
    settings.Geometry = Placement->ToStore();
    for (int column = 0; column < StoredSettings::ResultColumnCount; ++column) {
        if (columnChosen_[size_t(column)])
            settings.ColumnWidths[column] = StringGrid1->columnWidth(column);
    }
    settings.FolderHistory = FolderHistory;
    settings.SearchTextHistory = SearchTextHistory;
    return settings;
}
