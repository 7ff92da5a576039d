#include "ProblemsList.h"

#include "ProblemsModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLocale>
#include <QTreeView>
#include <QVBoxLayout>

ProblemsList::ProblemsList(QWidget *parent)
    : QWidget(parent)
    , model_(new ProblemsModel(this))
    , summary_(new QLabel(this))
    , list_(new QTreeView(this))
{
    setObjectName(QStringLiteral("ProblemsList"));
    summary_->setObjectName(QStringLiteral("problemsSummary"));
    list_->setObjectName(QStringLiteral("problemsView"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->setStretchLastSection(true);
    list_->header()->setSectionResizeMode(
        ProblemsModel::SegmentColumn, QHeaderView::ResizeToContents);
    connect(list_, &QTreeView::clicked, this, &ProblemsList::Activated);
    connect(list_, &QTreeView::activated, this, &ProblemsList::Activated);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(summary_);
    layout->addWidget(list_);
}

void ProblemsList::SetProblems(EnvelopeProblems problems, bool complete)
{
    // The selection is kept by what it shows: rows move as problems found later come in.
    const QModelIndex current = list_->currentIndex();
    const qint64 segment
        = current.isValid() ? current.data(ProblemsModel::SegmentRole).toLongLong() : 0;
    const QString message = current.isValid()
        ? current.siblingAtColumn(ProblemsModel::MessageColumn).data().toString()
        : QString();
    model_->SetProblems(std::move(problems));

    const EnvelopeProblems &shown = model_->Problems();
    QString summary = shown.Summary();
    if (shown.Omitted() > 0)
        summary += tr(", the first %1 listed").arg(QLocale().toString(shown.Count()));
    if (!complete)
        summary += tr(" so far");
    summary_->setText(summary);

    if (segment == 0)
        return;
    const auto [first, end] = shown.At(segment);
    for (qint64 row = first; row < end; ++row) {
        if (shown.Message(row) == message) {
            const QModelIndex index = model_->index(int(row), 0);
            list_->selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            list_->scrollTo(index);
            break;
        }
    }
}

void ProblemsList::Clear()
{
    model_->SetProblems({});
    summary_->clear();
}

void ProblemsList::SelectSegment(qint64 segment)
{
    const auto [first, end] = model_->Problems().At(segment);
    if (first == end) {
        list_->selectionModel()->clearSelection();
        return;
    }
    const QModelIndex index = model_->index(int(first), 0);
    list_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(index);
}

void ProblemsList::Activated(const QModelIndex &index)
{
    const QVariant segment = index.data(ProblemsModel::SegmentRole);
    if (segment.isValid())
        emit GoToSegment(segment.toLongLong());
}
