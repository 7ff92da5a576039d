#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <memory>

class QFile;

// Reads a file through one large block, so that scanning it and fetching its segments in
// file order cost one system read per block rather than one per segment.
class ReadAheadBuffer
{
public:
    static constexpr qsizetype DefaultBlockSize = 1 << 20;

    explicit ReadAheadBuffer(QFile &file, qsizetype blockSize = DefaultBlockSize);

    // Reads go no further than size bytes into the file: its size when it was opened, so
    // that a small file is read with one call and bytes appended later are not seen.
    void SetLimit(qint64 size) { limit_ = size; }

    // The file's bytes from pos on, want of them, or fewer where the file ends. The view stays
    // valid until the next call. A read the system refuses raises EInOutError.
    QByteArrayView Read(qint64 pos, qsizetype want);

    qsizetype Capacity() const { return capacity_; }

private:
    void Fill(qint64 start, qsizetype want);

    QFile &file_;
    std::unique_ptr<char[]> data_; // allocated as reads need it: a small file needs little
    qsizetype allocated_ = 0;
    qsizetype capacity_;
    qint64 limit_ = 0;
    qint64 start_ = 0;
    qsizetype length_ = 0;
    bool reachedEnd_ = false; // the block's read stopped at the end of the file
    bool valid_ = false;
};
