#include "TextBlocks.h"

#include "Exception.h"

#include <cstring>
#include <limits>

TextBlocks::Ref TextBlocks::Add(QByteArrayView text)
{
    if (text.isEmpty())
        return Empty;
    const qsizetype length = std::min(text.size(), MaxLength);
    // Each text is its length byte and its bytes, within one block.
    if (used_ + 1 + length > BlockSize) {
        if (qint64(blocks_.size() + 1) * BlockSize > qint64(std::numeric_limits<Ref>::max()))
            throw Exception(QStringLiteral("The file holds more envelope values than Brimlet "
                                           "can keep in its outline"));
        blocks_.emplace_back(new char[BlockSize]);
        // Offset 0 of the first block would read as Empty.
        used_ = blocks_.size() == 1 ? 1 : 0;
    }
    char *at = blocks_.back().get() + used_;
    *at = char(uchar(length));
    std::memcpy(at + 1, text.data(), size_t(length));
    const Ref ref = Ref(qint64(blocks_.size() - 1) * BlockSize + used_);
    used_ += 1 + length;
    return ref;
}
