#pragma once

#include <QSet>
#include <QString>

// The folders a walk has entered, told apart by the file system's identity of a folder
// (device and inode on Unix) rather than by path, so that links back to a folder already
// entered are not followed again.
class VisitedFolders
{
public:
    // Records folder as entered; false when it was entered before or cannot be identified
    // (missing, unreadable, path too long), so that it is not entered now.
    bool Enter(const QString &folder);

private:
    QSet<QString> identities_;
};
