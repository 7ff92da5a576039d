#include "HistoryList.h"

namespace HistoryList {

Qt::CaseSensitivity FilePathCase()
{
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

int MoveToFront(QStringList &list, const QString &text, Qt::CaseSensitivity cs)
{
    int index = -1;
    for (int i = 0; i < list.size() && index < 0; ++i) {
        if (list[i].compare(text, cs) == 0)
            index = i;
    }
    if (index == 0)
        return 0;
    if (index > 0)
        list.removeAt(index);
    list.prepend(text);
    return index;
}

} // namespace HistoryList
