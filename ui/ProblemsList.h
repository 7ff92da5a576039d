#pragma once

#include "EnvelopeProblems.h"

#include <QWidget>

class ProblemsModel;
class QLabel;
class QTreeView;

// The Problems list: the envelope check's results with a count above them. Clicking a problem
// asks to go to its segment.
class ProblemsList : public QWidget
{
    Q_OBJECT

public:
    explicit ProblemsList(QWidget *parent = nullptr);

    // The problems found so far (complete: the check has ended), replacing those shown; the
    // problem selected stays selected.
    void SetProblems(EnvelopeProblems problems, bool complete);
    // Shows nothing, as when no file is open.
    void Clear();

public slots:
    // Selects the first problem at segment, if any, without asking to go anywhere.
    void SelectSegment(qint64 segment);

signals:
    void GoToSegment(qint64 segment);

private:
    void Activated(const QModelIndex &index);

    ProblemsModel *model_;
    QLabel *summary_;
    QTreeView *list_;
};
