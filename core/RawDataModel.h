#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QtGlobal>

class LineSource;

// The raw data view's text, selection and caret, without any widget: the lines of a
// LineSource, each followed by one line break, read from the source as they are needed.
//
// A character position counts a line's bytes and one for its line break. A CR or LF byte inside
// a line stays in that line, so that line i is always the source's line i. After the last line
// there is always one more, empty line (the text ends with a break); a model without a source
// has one empty line. While the source is still adding lines, the text grows at its end.
class RawDataModel
{
public:
    // Where a caret movement goes.
    enum class Move { Left, Right, Up, Down, Home, End, PageUp, PageDown, TextStart, TextEnd };

    // The most bytes SelectedText gives, and so the most a copy puts on the clipboard.
    static constexpr qint64 SelectionLimit = qint64(256) << 20;

    RawDataModel() = default;

    // The lines shown, or none (nullptr); not owned. The caret goes to the start.
    void SetSource(LineSource *source);
    LineSource *Source() const { return source_; }
    void Clear() { SetSource(nullptr); }

    qint64 TextLength() const;
    qint64 LineCount() const;
    // The longest line (from 0), or 0 when there is none.
    qint64 LongestLineNumber() const;

    // Line holding position (positions are clamped to the text).
    qint64 LineFromChar(qint64 position) const;
    // First position of line; -1 for a line that does not exist.
    qint64 LineIndex(qint64 line) const;
    // Line's length without its break; 0 for a line that does not exist.
    qint64 LineLength(qint64 line) const;
    // Line's bytes from column on, count of them or fewer; the whole line by default.
    QByteArray Line(qint64 line, qint64 column = 0, qint64 count = SelectionLimit) const;
    // Line's bytes without its break, cut to at most maxLength bytes.
    QByteArray GetLine(qint64 line, qint64 maxLength) const;
    // The text from start to end, line breaks included, cut to at most limit bytes.
    QByteArray TextRange(qint64 start, qint64 end, qint64 limit = SelectionLimit) const;

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
    // The selected bytes, at most SelectionLimit of them.
    QByteArray SelectedText() const { return TextRange(SelStart(), SelEnd()); }
    // Moves the caret as a key would; pageLines is the height of a page in lines. Up and
    // Down keep the column the caret had before the first of them.
    void MoveCaret(Move move, qint64 pageLines, bool extend);

    // First position of text at or after start and ending at most at start + length (cut at
    // the end of the text); -1 when absent. Without matchCase, Latin-1 letters match either
    // case; with wholeWord, a match needs no word character (letter, digit, "_") on either
    // side. A text may run over line breaks.
    qint64 FindText(
        QByteArrayView text, qint64 start, qint64 length, bool matchCase, bool wholeWord) const;

    // The character shown for a byte: Latin-1, with control bytes drawn as visible symbols.
    static QChar DisplayChar(uchar byte);
    static bool IsWordChar(uchar byte);

private:
    qint64 Clamp(qint64 position) const { return qBound(qint64(0), position, TextLength()); }

    LineSource *source_ = nullptr;
    qint64 anchor_ = 0;
    qint64 caret_ = 0;
    qint64 column_ = -1; // column kept by vertical moves; -1 when not set
};
