// The main window's commands on the text shown: the position indicator and element names, Go
// To Line and the segment-type steps, find, copy, select all, print, and the Edit menu's rules.

#include "frmMain.h"

#include "ElementReference.h"
#include "Exception.h"
#include "FindDialog.h"
#include "GoToLine.h"
#include "IndexedFile.h"
#include "MessageBoxes.h"
#include "RawDataView.h"
#include "SegmentTypeSearch.h"
#include "frmGoTo.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStatusBar>
#include <QToolButton>

namespace {

// A print of more pages than this is asked about first.
constexpr qint64 ManyPages = 1000;
constexpr int NoticeTimeout = 8000; // how long a status bar notice shows

// The page rectangle in printer pixels from the printable area's top-left corner: u is a
// eleventh of the printable height; left u, top u, right 8u, bottom 10u. Where the page is
// narrower than 8u (A4 upright), the right edge is the printable area's, so that lines wrap
// there instead of losing their ends past it.
QRect PrintRectangle(const QRect &printable)
{
    const int u = printable.height() / 11;
    const int right = qMin(8 * u, printable.width());
    return QRect(QPoint(u, u), QPoint(right - 1, 10 * u - 1));
}

} // namespace

void TForm1::CreateCommands()
{
    FindDialog1 = new FindDialog(this);
    connect(FindDialog1, &FindDialog::Find, this,
        [this] { MessageBoxes::Guarded([&] { FindDialog1Find(); }); });
    ShowPrintDialog = [this](QPrinter &printer) {
        QPrintDialog dialog(&printer, this);
        dialog.setObjectName(QStringLiteral("PrintDialog1"));
        // A selection may be printed alone: all of a large file is millions of pages.
        const bool selection = Memo1->SelLength() > 0;
        dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
        printer.setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
        return dialog.exec() == QDialog::Accepted;
    };
    ConfirmPrint = [this](qint64 pages) {
        return QMessageBox::question(this, MessageBoxes::ApplicationTitle(),
                   QStringLiteral("This prints about %L1 pages. Print them all?").arg(pages))
            == QMessageBox::Yes;
    };
    ChooseFont = [this](const QFont &current) -> std::optional<QFont> {
        bool chosen = false;
        const QFont font = QFontDialog::getFont(&chosen, current, this, QStringLiteral("Font"));
        return chosen ? std::optional(font) : std::nullopt;
    };
}

void TForm1::LoadElementNames()
{
    // Optional: without the file every element name is empty, and nothing is said.
    ElementNames.LoadFromFile(
        QCoreApplication::applicationDirPath() + QLatin1String("/Elements.ini"));
}

void TForm1::Memo1Click()
{
    // The element separator is the caret's interchange's; with no file open the panels stay as
    // they are.
    if (!File)
        return;
    const qint64 start = Memo1->SelStart();
    const qint64 line = Memo1->LineFromChar(start);
    const qint64 column = start - Memo1->LineIndex(line);
    // The reference needs the line up to the caret, and its id.
    const ElementReference reference(
        Memo1->Model().Line(line, 0, qMax(column, ElementReference::LineLimit)), column,
        File->LineDelimiters(line).Element);
    SetStatusText(0, reference.PositionText(LineNumber(line)));
    SetStatusText(1, ElementNames.Lookup(reference.Key()));
    ShowCaretInEnvelopes(line + 1);
    ShowCaretElements();
}

void TForm1::Memo1SelectionChange()
{
    spCopy->setEnabled(Memo1->SelLength() > 0);
}

void TForm1::Edit1Click()
{
    const bool open = Memo1->isEnabled();
    CopyToClipboard->setEnabled(Memo1->SelLength() > 0);
    for (QAction *item :
        { Find1, GotoLine1, GotoPreviousSegmentofThisType1, GotoNextMatchingSegmentType1 })
        item->setEnabled(open);
    FindNext1->setEnabled(!FindDialog1->FindText().isEmpty());
    for (QToolButton *button : { spClose, spFind, spPrint })
        button->setEnabled(open);
}

void TForm1::CopyToClipboardClick()
{
    if (Memo1->SelLength() == 0)
        return;
    QGuiApplication::clipboard()->setText(QString::fromLatin1(Memo1->Model().SelectedText()));
    // A selection of gigabytes would need as much memory again, and more than a clipboard takes.
    if (Memo1->SelLength() > RawDataModel::SelectionLimit)
        MessageBoxes::ShowNotice(QStringLiteral("Only the first %L1 MiB of the selection were "
                                                "copied, as much as the clipboard takes.")
                                     .arg(RawDataModel::SelectionLimit >> 20));
}

void TForm1::SelectAll1Click()
{
    Memo1->SelectAll();
    if (StillLoading())
        statusBar()->showMessage(LoadedSoFar(), NoticeTimeout);
}

void TForm1::Find1Click()
{
    FindDialog1->Execute();
}

void TForm1::FindNext1Click()
{
    FindDialog1Find();
}

// Searches forward from just after the selection, or from the top when nothing is selected,
// to the end of the text, without wrapping around.
void TForm1::FindDialog1Find()
{
    const QString text = FindDialog1->FindText();
    const qint64 start = Memo1->SelLength() > 0 ? Memo1->SelStart() + Memo1->SelLength() : 0;
    const qint64 found = Memo1->FindText(text, start, Memo1->TextLength() - start,
        FindDialog1->MatchCase(), FindDialog1->WholeWord());
    if (found >= 0) {
        Memo1->setFocus();
        Memo1->SetSelStart(found);
        Memo1->ScrollCaret();
        Memo1->SetSelLength(text.size());
    } else {
        NotFound(QStringLiteral("Not found."));
    }
    // With no file open there is no position to describe and no view to focus.
    if (!File || !Memo1->isEnabled())
        return;
    Memo1Click();
    Memo1->setFocus();
}

void TForm1::GotoLine1Click()
{
    if (!goToForm_ || goToForm_->exec() != QDialog::Accepted)
        return;
    // Go To is enabled only for a number it accepts.
    const std::optional<qint32> number = GoToLine::LineNumber(goToForm_->Edit1->text());
    if (!number)
        return;
    const QString set = goToForm_->Edit3->text();
    if (!set.isEmpty()) {
        GoToInSet(set, *number);
        return;
    }
    const QString type = goToForm_->Edit2->text();
    if (type.isEmpty()) {
        // A line past the last one puts the caret on the last, empty line: while the file
        // loads, on the last line there is so far.
        MoveToSegment(SegmentNumber(*number));
        if (StillLoading() && *number > File->LineCount())
            statusBar()->showMessage(LoadedSoFar(), NoticeTimeout);
        return;
    }
    // The search walks the lines: with no file open there is nothing to search.
    if (!File)
        return;
    const SegmentSearchResult result = SegmentTypeSearch::FindNthOfType(*File, type, *number);
    if (result.Found())
        MoveToSegment(result.Segment);
    else
        NotFound(QStringLiteral("Not Found."));
}

// The number-th segment of the transaction set whose ST02 is control: the one after the caret,
// or else the first, when several sets have that control number.
void TForm1::GoToInSet(const QString &control, qint64 number)
{
    if (!File)
        return;
    const qint64 caret = Memo1->LineFromChar(Memo1->SelStart()) + 1;
    const SetPositionTarget target = outline_.FindSetPosition(control.toLatin1(), number, caret);
    switch (target.Result) {
    case SetPositionTarget::Outcome::Found:
        MoveToSegment(SegmentNumber(target.Segment));
        break;
    case SetPositionTarget::Outcome::NoSuchSet:
        NotFound(QStringLiteral("Not Found."));
        break;
    case SetPositionTarget::Outcome::BeyondSet:
        MessageBoxes::ShowNotice(QStringLiteral("Transaction set %1 has %L2 segments.")
                                     .arg(control)
                                     .arg(outline_.Set(target.Set).SegmentCount()));
        break;
    }
}

void TForm1::GotoNextMatchingSegmentType1Click()
{
    StepToSameType(&SegmentTypeSearch::FindNextOfType);
}

void TForm1::GotoPreviousSegmentofThisType1Click()
{
    StepToSameType(&SegmentTypeSearch::FindPreviousOfType);
}

// Both steps start from the line holding the selection's end. Previous on the first line
// searches nothing and says nothing.
void TForm1::StepToSameType(SegmentSearchResult (*search)(LineSource &lines, LineNumber caretLine))
{
    if (!File)
        return;
    const SegmentSearchResult result = search(*File, Memo1->CaretPos().Line);
    if (result.Found())
        MoveToSegment(result.Segment);
    else if (result.Result == SegmentSearchResult::Outcome::NotFound)
        NotFound(QStringLiteral("Not found."));
}

// A search that found nothing says so; while the file loads, that it searched only what there
// is so far.
void TForm1::NotFound(const QString &notice)
{
    MessageBoxes::ShowNotice(StillLoading()
            ? QStringLiteral("Not found in the %L1 segments loaded so far.").arg(File->LineCount())
            : notice);
}

// The segment's line: the caret goes to its first character, nothing selected.
void TForm1::MoveToSegment(SegmentNumber segment)
{
    MoveToElement(segment.Line().Value, 0);
}

void TForm1::Print1Click()
{
    if (!printer_)
        printer_ = std::make_shared<QPrinter>(QPrinter::HighResolution);
    QPrinter &printer = *printer_;
    if (!ShowPrintDialog(printer))
        return;
    printer.setDocName(windowTitle());
    const QRect printable = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRect pageRect = PrintRectangle(printable);
    // The selected lines, when the dialog was asked for the selection; else all of them.
    qint64 first = 0;
    qint64 last = Memo1->Model().LineCount() - 1;
    if (printer.printRange() == QPrinter::Selection && Memo1->SelLength() > 0) {
        first = Memo1->LineFromChar(Memo1->SelStart());
        last = Memo1->LineFromChar(Memo1->SelStart() + Memo1->SelLength() - 1);
    }
    const qint64 pages = Memo1->PrintPages(printer, pageRect, first, last);
    if (pages > ManyPages && !ConfirmPrint(pages))
        return;
    const int printed = Memo1->Print(printer, pageRect, first, last);
    if (printed == 0 || printer.printerState() == QPrinter::Error)
        throw Exception(QStringLiteral("The text could not be printed"));
}
