#pragma once

#include "TextBlocks.h"

#include <QByteArrayView>
#include <QString>
#include <QtGlobal>

#include <vector>

// The problems an envelope check found, in segment order (problems at one segment in the order
// they were found), each with its segment number and its message. At most MaxKept are kept; the
// rest are only counted. Copies are cheap while the problems are few.
class EnvelopeProblems
{
public:
    static constexpr qint64 MaxKept = 100000;

    qint64 Count() const { return qint64(entries_.size()); }
    qint64 Segment(qint64 i) const { return entries_[size_t(i)].Segment; }
    // The message's bytes: Latin-1, values from the file byte for byte.
    QByteArrayView MessageBytes(qint64 i) const { return texts_.View(entries_[size_t(i)].Message); }
    QString Message(qint64 i) const { return QString::fromLatin1(MessageBytes(i)); }
    // Problems found beyond the first MaxKept, not kept.
    qint64 Omitted() const { return omitted_; }
    bool IsEmpty() const { return entries_.empty() && omitted_ == 0; }

    // The index of the first problem at segment or after it (Count() when there is none).
    qint64 FirstAtOrAfter(qint64 segment) const;
    // The problems at segment: [first, end).
    std::pair<qint64, qint64> At(qint64 segment) const;

    // "No problems", "1 problem", "12 problems", omitted ones counted.
    QString Summary() const;

private:
    friend class EnvelopeChecker;

    void Add(qint64 segment, QByteArrayView message);

    struct Entry
    {
        qint64 Segment;
        TextBlocks::Ref Message;
    };
    std::vector<Entry> entries_;
    TextBlocks texts_;
    qint64 omitted_ = 0;
};
