// The main window's element panel and element tooltips: the segment under the caret or the
// mouse, element by element, with the elements' names and the meanings of their codes.

#include "frmMain.h"

#include "ElementPanel.h"
#include "IndexedFile.h"
#include "MessageBoxes.h"
#include "RawDataView.h"
#include "SettingsFolder.h"

#include <QCoreApplication>
#include <QDockWidget>

namespace {

// At most this many of the code files' faults are listed at start-up.
constexpr qsizetype ProblemsListed = 10;

// The tooltip of an element: reference and name, value and meaning, spaces kept.
QString TipText(const ElementRow &row)
{
    QString text = QLatin1String("<p style='white-space:pre'><b>") + row.Reference.toHtmlEscaped()
        + QLatin1String("</b>");
    if (!row.Name.isEmpty())
        text += QLatin1String("  ") + row.Name.toHtmlEscaped();
    text += QLatin1String("<br>Value: ")
        + (row.Value.isEmpty() ? QStringLiteral("<i>empty</i>") : row.Value.toHtmlEscaped());
    if (!row.Meaning.isEmpty())
        text += QLatin1String("<br>Meaning: ") + row.Meaning.toHtmlEscaped();
    return text + QLatin1String("</p>");
}

} // namespace

void TForm1::CreateElementPanel()
{
    ElementPanel1 = new ElementPanel;
    QDockWidget *dock = AddPanel("ElementPanel", QStringLiteral("Elements"), ElementPanel1,
        Qt::RightDockWidgetArea, QStringLiteral("ElementPanel"));
    connect(ElementPanel1, &ElementPanel::ElementChosen, this, [this](qint64 line, qint64 column) {
        MessageBoxes::Guarded([&] { MoveToElement(line, column); });
    });
    // A hidden panel is left as it is; it catches up with the caret when it is shown.
    connect(dock, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible)
            MessageBoxes::Guarded([&] { ShowCaretElements(); });
    });
    new HoverToolTip(
        Memo1->viewport(), [this](const QPoint &point) { return ElementTipAt(point); });
}

void TForm1::LoadCodeMeanings()
{
    CodeMeanings.LoadShippedAndUser(
        QCoreApplication::applicationDirPath(), ::SettingsFolder::Path());
    // Said once, at start-up: the lines that were skipped, so that their author can mend them.
    const QList<CodeDictionary::Problem> &problems = CodeMeanings.Problems();
    if (problems.isEmpty())
        return;
    QStringList lines;
    for (qsizetype i = 0; i < qMin(problems.size(), ProblemsListed); ++i)
        lines.append(problems[i].Message());
    if (problems.size() > ProblemsListed)
        lines.append(QStringLiteral("and %1 more").arg(problems.size() - ProblemsListed));
    MessageBoxes::ShowNotice(
        QStringLiteral("These lines of the code lists were ignored:\n\n") + lines.join(u'\n'));
}

std::optional<SegmentExplanation> TForm1::ExplainLine(qint64 line) const
{
    // The line after the last segment, and a view left without its reader, explain nothing.
    if (!File || line < 0 || line >= File->LineCount())
        return std::nullopt;
    // Rows stop long before a megabyte of segment.
    return SegmentExplanation(Memo1->Model().Line(line, 0, qint64(1) << 20),
        File->LineDelimiters(line), ElementNames, CodeMeanings, ElementPanel::ValueLimit);
}

void TForm1::ShowCaretElements()
{
    // Without a reader the panel stays as it is, as the status bar does.
    if (!File || !ElementPanel1->isVisible())
        return;
    const qint64 start = Memo1->SelStart();
    const qint64 line = Memo1->LineFromChar(start);
    std::optional<SegmentExplanation> explanation = ExplainLine(line);
    if (!explanation)
        ElementPanel1->Clear();
    else
        ElementPanel1->ShowSegment(line, std::move(*explanation), start - Memo1->LineIndex(line));
}

void TForm1::MoveToElement(qint64 line, qint64 column)
{
    if (!Memo1->isEnabled())
        return;
    Memo1->SetCaretPos(column, LineNumber(line));
    Memo1->setFocus();
    Memo1->ScrollCaret();
    Memo1Click();
}

HoverToolTip::Tip TForm1::ElementTipAt(const QPoint &point) const
{
    if (!Memo1->isEnabled())
        return {};
    // The character under the point: the one after the nearest boundary or the one before it,
    // whichever the point is on; none past the end of the line.
    const qint64 boundary = Memo1->PositionAt(point);
    const qint64 line = Memo1->LineFromChar(boundary);
    const qint64 lineStart = Memo1->LineIndex(line);
    const qint64 length = Memo1->Model().LineLength(line);
    qint64 column = -1;
    for (const qint64 c : { boundary - lineStart, boundary - lineStart - 1 }) {
        if (c >= 0 && c < length && Memo1->CharacterRect(lineStart + c).contains(point)) {
            column = c;
            break;
        }
    }
    const std::optional<SegmentExplanation> explanation
        = column < 0 ? std::nullopt : ExplainLine(line);
    const qsizetype row = explanation ? explanation->RowAt(column) : -1;
    if (row < 0)
        return {};
    const ElementRow &element = explanation->Rows()[row];
    // The tip goes when the mouse leaves the element and its separator.
    const QRect area = Memo1->CharacterRect(lineStart + element.Start)
                           .united(Memo1->CharacterRect(
                               lineStart + qMin(element.Start + element.Length, length)));
    return { TipText(element), area };
}
