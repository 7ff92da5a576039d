#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <memory>

class ReadOnlyFile;

// Reads a file through one large block, so that scanning it and fetching its segments in
// file order cost one system read per block rather than one per segment.
class ReadAheadBuffer
{
public:
    static constexpr qsizetype DefaultBlockSize = 1 << 20;

    explicit ReadAheadBuffer(const ReadOnlyFile &file, qsizetype blockSize = DefaultBlockSize);

    // Reads go no further than size bytes into the file: its size when it was opened, so that
    // a small file is read with one call and bytes appended later are not seen.
    void SetLimit(qint64 size) { limit_ = size; }
    qint64 Limit() const { return limit_; }

    // The file's bytes from pos on, want of them, or fewer where the limit ends them. The view
    // stays valid until the next call. A read the system refuses raises EInOutError; a file
    // that ends before the limit (it was cut short since it was opened) raises EFileChanged.
    QByteArrayView Read(qint64 pos, qsizetype want);

private:
    void Fill(qint64 start, qsizetype want);

    const ReadOnlyFile &file_;
    const qsizetype blockSize_;
    std::unique_ptr<char[]> data_;
    qsizetype capacity_ = 0;
    qint64 limit_ = 0;
    qint64 start_ = 0;
    qsizetype length_ = 0;
    bool valid_ = false;
};
