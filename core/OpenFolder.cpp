#include "OpenFolder.h"

#include "FileNames.h"

#include <fcntl.h>
#include <unistd.h>

OpenFolder::~OpenFolder()
{
    Close();
}

void OpenFolder::Close()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool OpenFolder::Open(const QString &folder)
{
    Close();
    folder_ = folder;
    // Only to open names in: neither reading the folder nor the right to do so is needed.
    fd_ = ::open(
        FileNames::Encode(QString(folder + u'/')).constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd_ >= 0;
}
