#pragma once

#include <QtGlobal>

#include <algorithm>
#include <memory>
#include <vector>

// An append-only list of small records kept in fixed blocks of BlockRecords, so that it grows
// without moving what it holds and a copy costs little. Only the last record may change once
// appended. A copy shares the blocks before the last one, which never change again, and takes
// the records of the last block for itself: the list it was copied from may then go on
// appending and changing its last record while the copy is read in another thread. Copies are
// made in the thread that appends.
template<typename T>
class RecordBlocks
{
public:
    static constexpr qint64 BlockShift = 11;
    static constexpr qint64 BlockRecords = qint64(1) << BlockShift;

    RecordBlocks() = default;
    RecordBlocks(const RecordBlocks &other) { *this = other; }
    RecordBlocks(RecordBlocks &&) noexcept = default;
    RecordBlocks &operator=(RecordBlocks &&) noexcept = default;
    RecordBlocks &operator=(const RecordBlocks &other)
    {
        if (this == &other)
            return *this;
        blocks_ = other.blocks_;
        size_ = other.size_;
        // The last block, full or not, is the one whose last record may still change.
        if (size_ > 0) {
            const qint64 tail = size_ - (qint64(blocks_.size()) - 1) * BlockRecords;
            std::shared_ptr<T[]> own(new T[BlockRecords]);
            std::copy_n(other.blocks_.back().get(), tail, own.get());
            blocks_.back() = std::move(own);
        }
        return *this;
    }

    qint64 Size() const { return size_; }
    bool IsEmpty() const { return size_ == 0; }
    const T &operator[](qint64 i) const { return blocks_[size_t(i >> BlockShift)][i & Mask]; }
    T &operator[](qint64 i) { return blocks_[size_t(i >> BlockShift)][i & Mask]; }
    T &Back() { return (*this)[size_ - 1]; }

    void Append(const T &record)
    {
        if ((size_ & Mask) == 0)
            blocks_.emplace_back(new T[BlockRecords]);
        blocks_.back()[size_ & Mask] = record;
        ++size_;
    }

    // The number of records before the first for which below(record) is false; below must be
    // true for a leading run of the records and false for the rest.
    template<typename Below>
    qint64 PartitionPoint(Below below) const
    {
        qint64 low = 0;
        qint64 high = size_;
        while (low < high) {
            const qint64 middle = low + (high - low) / 2;
            if (below((*this)[middle]))
                low = middle + 1;
            else
                high = middle;
        }
        return low;
    }

    // Bytes held, for reports of memory use.
    qint64 Capacity() const { return qint64(blocks_.size()) * BlockRecords * qint64(sizeof(T)); }

private:
    static constexpr qint64 Mask = BlockRecords - 1;

    std::vector<std::shared_ptr<T[]>> blocks_;
    qint64 size_ = 0;
};
