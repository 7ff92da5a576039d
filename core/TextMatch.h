#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// How the raw data view's find compares bytes: exactly, or with Latin-1 letters of either case
// the same; and which bytes make words (a letter, a digit or "_").
namespace TextMatch {

uchar Fold(uchar byte);
bool IsWordChar(uchar byte);

// The first position from start on where text (not empty) stands in bytes, ending at most at
// end; -1 when there is none. With wholeWord, a match needs no word character on either side;
// bytes before first and from last on are outside the text and count as no word characters.
qint64 Find(QByteArrayView bytes, QByteArrayView text, qint64 start, qint64 end, bool matchCase,
    bool wholeWord, qint64 first = 0, qint64 last = -1);

} // namespace TextMatch
