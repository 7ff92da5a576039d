#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// An X12 file opened for reading only, other programs still free to read and write it, read by
// position. Reads may come from several threads at once.
class ReadOnlyFile
{
public:
    // Opens a regular file by its name (FileNames: byte for byte). Folders, pipes and devices
    // are refused without waiting on them. Raises Exception with the user's text on failure.
    // With folderFd (a folder held open, see OpenFolder) the file is opened as nameInFolder in
    // that folder, which spares the system walking the whole of fileName again; fileName is
    // then only what messages name.
    explicit ReadOnlyFile(
        const QString &fileName, int folderFd = -1, QStringView nameInFolder = {});
    ~ReadOnlyFile();

    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    // The full path as given or made absolute, for messages (the name's bytes, as text).
    QString Path() const;
    // The file's size when it was opened.
    qint64 OpenedSize() const { return openedSize_; }
    // The file's size now, or -1 when it cannot be known.
    qint64 Size() const;
    // Reads up to count bytes at pos into data; fewer only at the end of the file. Raises
    // EInOutError when the system refuses the read.
    qint64 ReadAt(qint64 pos, char *data, qint64 count) const;

    // What tells a file's content changed without reading it: whether it is there, its size and
    // when it was last written.
    struct Stamp
    {
        bool Exists = false;
        qint64 Size = 0;
        qint64 Modified = 0; // nanoseconds since the epoch

        friend bool operator==(const Stamp &, const Stamp &) = default;
    };
    // The stamp of the file by the name fileName (byte for byte, as FileNames carries it).
    static Stamp StampOf(const QString &fileName);

private:
    QString fileName_;
    int fd_ = -1;
    qint64 openedSize_ = 0;
};
