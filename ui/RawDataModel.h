#pragma once

#include "LargeBuffer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QtGlobal>

// The raw data view's text, selection and caret, without any widget: one contiguous byte
// buffer in which every line is followed by one '\n' byte, plus the offsets where lines start.
//
// A character position is a byte offset and a line break counts as one position. Lines are
// those the loader appended, never found by scanning the text: a CR or LF byte inside a line
// stays in that line, so that line i is always the i-th line appended. After the last line
// there is always one more, empty line (the text ends with a break); an empty model has one
// empty line.
class RawDataModel
{
public:
    // Where a caret movement goes.
    enum class Move { Left, Right, Up, Down, Home, End, PageUp, PageDown, TextStart, TextEnd };

    RawDataModel();

    // Filling: BeginLoad empties the model and reserves room; AppendLine adds one line and its
    // break; EndLoad finishes the text with the empty last line. Between BeginLoad and EndLoad
    // the model is not to be read.
    void BeginLoad(qint64 expectedBytes, qint64 expectedLines);
    void AppendLine(QByteArrayView line);
    void EndLoad();
    void Clear();

    qint64 TextLength() const { return text_.Size(); }
    qint64 LineCount() const { return lineStarts_.Size(); }
    // Byte length of the longest line, without its break, and which line that is (from 0; the
    // first of equally long ones).
    qint64 LongestLine() const { return longestLine_; }
    qint64 LongestLineNumber() const { return longestLineNumber_; }

    // Line holding position (positions are clamped to the text).
    qint64 LineFromChar(qint64 position) const;
    // First position of line; -1 for a line that does not exist.
    qint64 LineIndex(qint64 line) const;
    // Line's length without its break; 0 for a line that does not exist.
    qint64 LineLength(qint64 line) const;
    // Line's bytes without its break, valid until the text next changes.
    QByteArrayView Line(qint64 line) const;
    // Line's bytes without its break, cut to at most maxLength bytes.
    QByteArray GetLine(qint64 line, qint64 maxLength) const;
    QByteArrayView Text() const { return QByteArrayView(text_.Data(), text_.Size()); }

    // The selection: Anchor is where it was begun, Caret where it ends now.
    qint64 Anchor() const { return anchor_; }
    qint64 Caret() const { return caret_; }
    qint64 SelStart() const { return qMin(anchor_, caret_); }
    qint64 SelLength() const { return qAbs(caret_ - anchor_); }
    // End of the selection, whichever way it was made.
    qint64 SelEnd() const { return qMax(anchor_, caret_); }
    // Collapses the selection to a caret at position.
    void SetSelStart(qint64 position);
    // Selects length characters from the selection's start on; the caret goes to their end.
    void SetSelLength(qint64 length);
    // Moves the caret to position, keeping the anchor when extending.
    void SetCaret(qint64 position, bool extend);
    // Caret at the line's first position plus column, selection collapsed.
    void SetCaretPos(qint64 column, qint64 line);
    void SelectAll();
    // The selected bytes, valid until the text changes; SelectedText copies them.
    QByteArrayView Selection() const;
    QByteArray SelectedText() const { return Selection().toByteArray(); }
    // Moves the caret as a key would; pageLines is the height of a page in lines. Up and
    // Down keep the column the caret had before the first of them.
    void MoveCaret(Move move, qint64 pageLines, bool extend);

    // First position of text at or after start and ending at most at start + length (cut at
    // the end of the text); -1 when absent. Without matchCase, Latin-1 letters match either
    // case; with wholeWord, a match needs no word character (letter, digit, "_") on either
    // side.
    qint64 FindText(
        QByteArrayView text, qint64 start, qint64 length, bool matchCase, bool wholeWord) const;

    // The character shown for a byte: Latin-1, with control bytes drawn as visible symbols.
    static QChar DisplayChar(uchar byte);
    static bool IsWordChar(uchar byte);

private:
    qint64 Clamp(qint64 position) const { return qBound(qint64(0), position, TextLength()); }
    bool IsWordAt(qint64 position) const;

    LargeBuffer<char> text_;
    LargeBuffer<qint64> lineStarts_;
    qint64 longestLine_ = 0;
    qint64 longestLineNumber_ = 0;
    qint64 anchor_ = 0;
    qint64 caret_ = 0;
    qint64 column_ = -1; // column kept by vertical moves; -1 when not set
};
