#pragma once

#include "Delimiters.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <algorithm>
#include <optional>

// The lines the raw data view shows and where they come from: line n (from 0) is segment n + 1
// of the file, without its terminator. Lines may still be coming (a file being indexed): their
// count only grows, and a line once there never changes. A character position counts every
// line's bytes and one more for the line break after it.
//
// Used from one thread, the one that shows the lines.
class LineSource
{
public:
    virtual ~LineSource() = default;

    // The lines there so far, and whether more will come.
    virtual qint64 LineCount() = 0;
    virtual bool Complete() = 0;
    virtual qint64 LineLength(qint64 line) = 0;
    // The position where line starts; line may be LineCount(), the end of the lines.
    virtual qint64 LineStart(qint64 line) = 0;
    // The line holding position, its line break included; LineCount() at or past the end.
    virtual qint64 LineAt(qint64 position) = 0;
    // Up to count bytes of line from column on; fewer where the line ends.
    virtual QByteArray LineBytes(qint64 line, qint64 column, qint64 count) = 0;
    // Copies up to max of the line's first bytes into out and tells how many; for walks over
    // many lines that look only at their starts.
    virtual qsizetype LineHead(qint64 line, char *out, qsizetype max)
    {
        const QByteArray bytes = LineBytes(line, 0, max);
        std::copy(bytes.begin(), bytes.end(), out);
        return bytes.size();
    }
    // The longest line so far, or -1 when there are none.
    virtual qint64 LongestLine() = 0;
    // The delimiters of the interchange the line's segment belongs to.
    virtual Delimiters LineDelimiters(qint64 line) = 0;

    // A quicker find than reading line after line, where the source has one: the first
    // position from start on where text (no line break in it) stands, ending at most at end, or
    // -1; nothing when the source offers no such find. A line break is no word character.
    virtual std::optional<qint64> FindInLines(
        QByteArrayView text, qint64 start, qint64 end, bool matchCase, bool wholeWord)
    {
        Q_UNUSED(text);
        Q_UNUSED(start);
        Q_UNUSED(end);
        Q_UNUSED(matchCase);
        Q_UNUSED(wholeWord);
        return std::nullopt;
    }
};
