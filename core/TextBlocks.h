#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <memory>
#include <vector>

// Short byte strings appended one after another to blocks of BlockSize bytes and named by a
// 32-bit reference, for lists of records that hold many small texts. Texts never change once
// added, so a copy shares every block: the texts it can name are there for good, while the
// original goes on adding (copies are made in the thread that adds).
class TextBlocks
{
public:
    using Ref = quint32;
    static constexpr Ref Empty = 0; // the empty text, stored nowhere
    static constexpr qsizetype MaxLength = 255; // a longer text keeps its first 255 bytes
    static constexpr qsizetype BlockSize = 65536;

    // Adds text (cut to MaxLength) and returns its reference. Raises Exception when the
    // references would run out (4 GiB of texts).
    Ref Add(QByteArrayView text);

    QByteArrayView View(Ref ref) const
    {
        if (ref == Empty)
            return {};
        const char *at = blocks_[ref / BlockSize].get() + ref % BlockSize;
        return QByteArrayView(at + 1, uchar(*at));
    }

    // Bytes held, for reports of memory use.
    qint64 Capacity() const { return qint64(blocks_.size()) * BlockSize; }

private:
    std::vector<std::shared_ptr<char[]>> blocks_;
    qsizetype used_ = BlockSize; // bytes used in the last block
};
