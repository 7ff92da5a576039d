#pragma once

#include <QtGlobal>

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

// A growable array of plain values for buffers that run to gigabytes. A large buffer is
// allocated in 2 MiB-aligned blocks that the system is asked to back with huge pages, so that
// filling it costs one page fault per 2 MiB rather than one per 4 KiB; pages reserved but never
// written cost no memory.
template<class T>
class LargeBuffer
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    LargeBuffer() = default;
    ~LargeBuffer() { std::free(data_); }
    LargeBuffer(const LargeBuffer &) = delete;
    LargeBuffer &operator=(const LargeBuffer &) = delete;
    LargeBuffer(LargeBuffer &&other) noexcept { Swap(other); }
    LargeBuffer &operator=(LargeBuffer &&other) noexcept
    {
        LargeBuffer(std::move(other)).Swap(*this);
        return *this;
    }

    void Swap(LargeBuffer &other) noexcept
    {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
    }

    qint64 Size() const { return size_; }
    const T *Data() const { return data_; }
    const T *begin() const { return data_; }
    const T *end() const { return data_ + size_; }
    T operator[](qint64 i) const { return data_[i]; }

    void Reserve(qint64 count)
    {
        if (count > capacity_)
            Reallocate(count);
    }

    void Append(const T *values, qint64 count)
    {
        if (size_ + count > capacity_)
            Reallocate(qMax(size_ + count, capacity_ + capacity_ / 2 + 16));
        std::memcpy(data_ + size_, values, size_t(count) * sizeof(T));
        size_ += count;
    }

    void Append(T value)
    {
        if (size_ == capacity_)
            Reallocate(capacity_ + capacity_ / 2 + 16);
        data_[size_++] = value;
    }

private:
    static constexpr size_t HugePage = size_t(2) << 20;

    void Reallocate(qint64 count)
    {
        size_t bytes = size_t(count) * sizeof(T);
        T *data = nullptr;
        if (bytes >= 2 * HugePage) {
            bytes = (bytes + HugePage - 1) / HugePage * HugePage;
            data = static_cast<T *>(std::aligned_alloc(HugePage, bytes));
#ifdef Q_OS_LINUX
            if (data)
                madvise(data, bytes, MADV_HUGEPAGE); // a hint: failing changes nothing
#endif
        } else {
            data = static_cast<T *>(std::malloc(bytes));
        }
        if (!data)
            throw std::bad_alloc();
        if (size_ > 0)
            std::memcpy(data, data_, size_t(size_) * sizeof(T));
        std::free(data_);
        data_ = data;
        capacity_ = qint64(bytes / sizeof(T));
    }

    T *data_ = nullptr;
    qint64 size_ = 0;
    qint64 capacity_ = 0;
};
