#include "ProblemsModel.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("ProblemsModel", text);
}

} // namespace

ProblemsModel::ProblemsModel(QObject *parent)
    : QAbstractTableModel(parent)
{ }

void ProblemsModel::SetProblems(EnvelopeProblems problems)
{
    beginResetModel();
    problems_ = std::move(problems);
    endResetModel();
}

int ProblemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(problems_.Count());
}

int ProblemsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ProblemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= problems_.Count())
        return {};
    const qint64 row = index.row();
    switch (role) {
    case Qt::DisplayRole:
        return index.column() == SegmentColumn ? QVariant(problems_.Segment(row))
                                               : QVariant(problems_.Message(row));
    case Qt::ToolTipRole:
        return problems_.Message(row);
    case SegmentRole:
        return problems_.Segment(row);
    case Qt::TextAlignmentRole:
        return index.column() == SegmentColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                               : QVariant();
    default:
        return {};
    }
}

QVariant ProblemsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == SegmentColumn ? Tr("Segment") : Tr("Problem");
}
