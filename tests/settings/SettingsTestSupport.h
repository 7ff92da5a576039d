#pragma once

#include "TextPrinters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <ostream>

// A fresh empty folder below the test run's temporary folder, removed by the destructor.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder &) = delete;
    ScratchFolder &operator=(const ScratchFolder &) = delete;

    const QString &Path() const { return path_; }
    QString File(const QString &name) const { return path_ + u'/' + name; }
    // The names of every entry in the folder, hidden ones included.
    QStringList Entries() const;

private:
    QString path_;
};

// The whole content of the file at path; empty when it cannot be read.
QByteArray ReadBytes(const QString &path);

// While it lives, files may grow to at most limit bytes, as on a full disk: writes past it fail
// with EFBIG. Works for root too, where folder permissions would not stop a write.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 limit);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;
};
