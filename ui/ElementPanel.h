#pragma once

#include "SegmentExplanation.h"

#include <QWidget>

class QLabel;
class QTableWidget;

// The element panel: the rows of the caret's segment (reference, name, value, meaning) in a
// table with the caret's element highlighted; clicking a row asks for the caret at its element.
class ElementPanel : public QWidget
{
    Q_OBJECT

public:
    // The most characters of a value shown; a longer one is cut.
    static constexpr qsizetype ValueLimit = 256;

    explicit ElementPanel(QWidget *parent = nullptr);

    // Shows the rows of the segment on view line line, and highlights the row at column of
    // it. Rows that have not changed since the last call are kept as they are.
    void ShowSegment(qint64 line, SegmentExplanation explanation, qsizetype column);
    void Clear();

    // Room for the four columns: the dock's width when it is first shown.
    QSize sizeHint() const override;

signals:
    // A row was chosen: the caret belongs at column (its value's start) of view line line.
    void ElementChosen(qint64 line, qint64 column);

private:
    void Fill();
    void Highlight(qsizetype row);
    void Choose(int row);

    QTableWidget *table_;
    QLabel *note_; // says that the segment's rows are cut short
    SegmentExplanation explanation_;
    qint64 line_ = -1;
};
