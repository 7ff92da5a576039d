#pragma once

#include "EnvelopeProblems.h"

#include <QAbstractTableModel>

// The envelope check's problems as a table: each problem's segment and message, in segment
// order.
class ProblemsModel : public QAbstractTableModel
{
public:
    enum Column { SegmentColumn, MessageColumn, ColumnCount };
    static constexpr int SegmentRole = Qt::UserRole + 1; // the problem's segment, qint64

    explicit ProblemsModel(QObject *parent = nullptr);

    void SetProblems(EnvelopeProblems problems);
    const EnvelopeProblems &Problems() const { return problems_; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(
        int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    EnvelopeProblems problems_;
};
