#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>

#include <vector>

// Tells whether a segment's text holds a search text as one contiguous run of bytes, either
// exactly or with the ASCII letters a to z of both taken as A to Z (no other byte folds).
// Segment bytes are Latin-1 characters; a search text with a character beyond Latin-1 is
// found nowhere.
class SegmentTextMatcher
{
public:
    SegmentTextMatcher(QStringView text, bool matchCase);

    bool Contains(QByteArrayView segment) { return IndexIn(segment) >= 0; }
    // Where the text first occurs in bytes, or -1.
    qsizetype IndexIn(QByteArrayView bytes);

    // The text searched for: as given, or with a to z upper-cased when case is ignored.
    const QByteArray &PreparedText() const { return needle_; }

private:
    QByteArray needle_;
    bool matchCase_;
    bool matchable_ = true;
    std::vector<char> folded_; // the segment with a to z upper-cased, reused from one to the next
};
