#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <map>
#include <string>
#include <unordered_set>

// The control numbers seen so far in one group or interchange, to tell one that repeats.
// Numbers are kept as runs of consecutive values, so the usual 1, 2, 3, ... costs the same at
// any length; other values are kept one by one.
class ControlNumberSet
{
public:
    // Adds value (compared as ControlNumber compares); false when it was there already.
    bool Insert(QByteArrayView value);
    void Clear();

private:
    bool InsertNumber(quint64 n);

    std::map<quint64, quint64> runs_; // first value of each run -> its last
    std::unordered_set<std::string> others_;
};
