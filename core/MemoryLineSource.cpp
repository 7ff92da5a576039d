#include "MemoryLineSource.h"

#include <algorithm>

MemoryLineSource::MemoryLineSource(
    const QByteArrayList &lines, bool complete, Delimiters delimiters)
    : complete_(complete)
    , delimiters_(delimiters)
{
    for (const QByteArray &line : lines)
        Append(line);
}

void MemoryLineSource::Append(const QByteArray &line)
{
    if (longest_ < 0 || line.size() > lines_[longest_].size())
        longest_ = lines_.size();
    lines_.append(line);
    starts_.push_back(starts_.back() + line.size() + 1);
}

qint64 MemoryLineSource::LineLength(qint64 line)
{
    return line >= 0 && line < LineCount() ? lines_[line].size() : 0;
}

qint64 MemoryLineSource::LineStart(qint64 line)
{
    return starts_[size_t(std::clamp<qint64>(line, 0, LineCount()))];
}

qint64 MemoryLineSource::LineAt(qint64 position)
{
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), position);
    return std::clamp<qint64>(qint64(after - starts_.begin()) - 1, 0, LineCount());
}

QByteArray MemoryLineSource::LineBytes(qint64 line, qint64 column, qint64 count)
{
    if (line < 0 || line >= LineCount() || column < 0 || count <= 0)
        return {};
    return lines_[line].mid(column, count);
}
