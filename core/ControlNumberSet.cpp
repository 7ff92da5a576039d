#include "ControlNumberSet.h"

#include "ControlNumber.h"

bool ControlNumberSet::Insert(QByteArrayView value)
{
    if (const auto n = ControlNumber::Number(value))
        return InsertNumber(*n);
    const QByteArrayView canonical = ControlNumber::Canonical(value);
    return others_.emplace(canonical.data(), size_t(canonical.size())).second;
}

bool ControlNumberSet::InsertNumber(quint64 n)
{
    // The run that starts at n or before it.
    auto after = runs_.upper_bound(n);
    if (after != runs_.begin()) {
        auto run = std::prev(after);
        if (n <= run->second)
            return false;
        if (run->second + 1 == n) {
            run->second = n;
            // n may join this run to the next one.
            if (after != runs_.end() && after->first == n + 1) {
                run->second = after->second;
                runs_.erase(after);
            }
            return true;
        }
    }
    if (after != runs_.end() && after->first == n + 1) {
        const quint64 last = after->second;
        runs_.erase(after);
        runs_.emplace(n, last);
        return true;
    }
    runs_.emplace(n, n);
    return true;
}

void ControlNumberSet::Clear()
{
    runs_.clear();
    others_.clear();
}
