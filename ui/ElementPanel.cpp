#include "ElementPanel.h"

#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { ReferenceColumn, NameColumn, ValueColumn, MeaningColumn, ColumnCount };

// The columns' first widths, in character widths of the panel's font.
constexpr int ColumnChars[ColumnCount] = { 9, 22, 16, 22 };

} // namespace

ElementPanel::ElementPanel(QWidget *parent)
    : QWidget(parent)
    , table_(new QTableWidget(0, ColumnCount, this))
    , note_(new QLabel(this))
{
    setObjectName(QStringLiteral("ElementPanel1"));
    table_->setObjectName(QStringLiteral("ElementTable"));
    table_->setAccessibleName(QStringLiteral("Elements of the segment"));
    table_->setHorizontalHeaderLabels({ QStringLiteral("Element"), QStringLiteral("Name"),
        QStringLiteral("Value"), QStringLiteral("Meaning") });
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    // Rows of one height: no row is measured, however many a segment has.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 4);
    table_->horizontalHeader()->setStretchLastSection(true);
    for (int column = ReferenceColumn; column < MeaningColumn; ++column)
        table_->setColumnWidth(column, ColumnChars[column] * fontMetrics().averageCharWidth());

    note_->setObjectName(QStringLiteral("ElementNote"));
    note_->setText(QStringLiteral("Only the first %1 rows of this segment are shown.")
                       .arg(SegmentExplanation::RowLimit));
    note_->setWordWrap(true);
    note_->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(table_, 1);
    layout->addWidget(note_);

    connect(table_, &QTableWidget::cellClicked, this, [this](int row, int) { Choose(row); });
    connect(table_, &QTableWidget::activated, this,
        [this](const QModelIndex &index) { Choose(index.row()); });
}

void ElementPanel::ShowSegment(qint64 line, SegmentExplanation explanation, qsizetype column)
{
    // Moving within one segment only moves the highlight.
    if (line != line_ || explanation.Rows() != explanation_.Rows()) {
        explanation_ = std::move(explanation);
        line_ = line;
        Fill();
    }
    Highlight(explanation_.RowAt(column));
}

QSize ElementPanel::sizeHint() const
{
    int width = 0;
    for (const int chars : ColumnChars)
        width += chars * fontMetrics().averageCharWidth();
    return { width + 2 * table_->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
        QWidget::sizeHint().height() };
}

void ElementPanel::Clear()
{
    explanation_ = SegmentExplanation();
    line_ = -1;
    Fill();
}

void ElementPanel::Fill()
{
    const QList<ElementRow> &rows = explanation_.Rows();
    table_->clearSelection();
    table_->setRowCount(int(rows.size()));
    for (int i = 0; i < int(rows.size()); ++i) {
        const ElementRow &row = rows[i];
        const QString texts[ColumnCount] = { row.Reference, row.Name, row.Value, row.Meaning };
        for (int column = 0; column < ColumnCount; ++column) {
            QTableWidgetItem *item = table_->item(i, column);
            if (!item) {
                item = new QTableWidgetItem;
                table_->setItem(i, column, item);
            }
            item->setText(texts[column]);
        }
    }
    note_->setVisible(explanation_.Truncated());
}

void ElementPanel::Highlight(qsizetype row)
{
    if (row < 0) {
        table_->clearSelection();
        return;
    }
    table_->selectRow(int(row));
    table_->scrollToItem(table_->item(int(row), ReferenceColumn));
}

void ElementPanel::Choose(int row)
{
    if (line_ < 0 || row < 0 || row >= explanation_.Rows().size())
        return;
    emit ElementChosen(line_, explanation_.Rows()[row].Start);
}
