#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// The id and the first elements of one segment's text, split at its element separator.
// Elements the text does not reach, or beyond those asked for, are empty.
class SegmentElements
{
public:
    static constexpr int MaxElements = 16;

    // wanted: how many elements to split off (at most MaxElements); the rest are not looked at.
    SegmentElements(QByteArrayView text, char elementSeparator, int wanted = MaxElements);

    QByteArrayView Id() const { return (*this)[0]; }
    // Element n, from 1 to MaxElements.
    QByteArrayView operator[](int n) const
    {
        return n <= count_ ? QByteArrayView(parts_[n].Data, parts_[n].Size) : QByteArrayView();
    }

private:
    // Left unset beyond count_: the check splits a few segments of every transaction set.
    struct Part
    {
        const char *Data;
        qsizetype Size;
    };
    Part parts_[MaxElements + 1];
    int count_ = -1; // the last part set
};
