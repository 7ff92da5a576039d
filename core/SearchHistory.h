#pragma once

#include <QString>
#include <QStringList>

// The Find in Files window's two input histories, most recent first.
namespace SearchHistory {

// Where each searched text stood in its history before the update, as HistoryList::MoveToFront
// returns it, so that a combo box's item list can follow: 0 nothing changed; -1 the text was
// inserted at the front; i >= 1 entry i was removed and the text inserted at the front.
struct Moves
{
    int Folder = -1;
    int SearchText = -1;
};

// Puts the searched folder and then the search text at the front of their histories. Folders
// compare as the file system compares paths, search texts ignoring case. Nothing is removed to
// make room.
Moves Update(QStringList &folderHistory, QStringList &searchTextHistory, const QString &folder,
    const QString &searchText);

} // namespace SearchHistory
