#pragma once

#include "LineSource.h"

#include <QByteArrayList>

#include <vector>

// Lines held in memory: for tests of what shows lines, and for a text that is not a file. Lines
// can be added later, as a file being indexed adds them.
class MemoryLineSource : public LineSource
{
public:
    explicit MemoryLineSource(
        const QByteArrayList &lines = {}, bool complete = true, Delimiters delimiters = {});

    void Append(const QByteArray &line);
    void SetComplete(bool complete) { complete_ = complete; }

    qint64 LineCount() override { return qint64(lines_.size()); }
    bool Complete() override { return complete_; }
    qint64 LineLength(qint64 line) override;
    qint64 LineStart(qint64 line) override;
    qint64 LineAt(qint64 position) override;
    QByteArray LineBytes(qint64 line, qint64 column, qint64 count) override;
    qint64 LongestLine() override { return longest_; }
    Delimiters LineDelimiters(qint64) override { return delimiters_; }

private:
    QByteArrayList lines_;
    std::vector<qint64> starts_ { 0 }; // one more than lines: the end
    qint64 longest_ = -1;
    bool complete_;
    Delimiters delimiters_;
};
