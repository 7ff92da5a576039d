#pragma once

#include <QString>

// A folder held open, so that the files in it are opened and looked at by their names alone,
// without the system walking the folder's whole path again for each of them.
class OpenFolder
{
public:
    OpenFolder() = default;
    ~OpenFolder();

    OpenFolder(const OpenFolder &) = delete;
    OpenFolder &operator=(const OpenFolder &) = delete;

    // Holds folder open ("" is the root folder, as a path made of it and "/" and a name says),
    // letting go of the one held before. Whether it could be opened: if not, Fd() is -1 and
    // files are to be opened by their whole paths.
    bool Open(const QString &folder);

    // The folder's text as given to Open.
    const QString &Folder() const { return folder_; }
    // The descriptor to open names in (openat, fstatat), or -1.
    int Fd() const { return fd_; }

private:
    void Close();

    QString folder_;
    int fd_ = -1;
};
