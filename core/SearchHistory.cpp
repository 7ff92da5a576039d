#include "SearchHistory.h"

#include "HistoryList.h"

namespace SearchHistory {

Moves Update(QStringList &folderHistory, QStringList &searchTextHistory, const QString &folder,
    const QString &searchText)
{
    Moves moves;
    moves.Folder = HistoryList::MoveToFront(folderHistory, folder, HistoryList::FilePathCase());
    moves.SearchText = HistoryList::MoveToFront(searchTextHistory, searchText, Qt::CaseInsensitive);
    return moves;
}

} // namespace SearchHistory
