// The main window's view of the file's envelopes: the Structure pane and the Problems list,
// fed from the envelope check that runs beside the file's indexing, and the status bar's
// place in the transaction set and problems.

#include "frmMain.h"

#include "BackgroundCheck.h"
#include "MessageBoxes.h"
#include "ProblemsList.h"
#include "RawDataView.h"
#include "StructurePane.h"

#include <QDockWidget>

#include <memory>

namespace {

// An HL tree reads only the start of each segment it looks at.
constexpr qint64 HlSegmentBytes = 4096;

} // namespace

void TForm1::CreateStructurePanels()
{
    StructurePane1 = new StructurePane;
    StructurePane1->setObjectName(QStringLiteral("StructurePane1"));
    QDockWidget *structure = AddPanel("StructurePane", QStringLiteral("Structure"), StructurePane1,
        Qt::LeftDockWidgetArea, QStringLiteral("StructurePane"));
    ProblemsList1 = new ProblemsList;
    ProblemsList1->setObjectName(QStringLiteral("ProblemsList1"));
    QDockWidget *problems = AddPanel("ProblemsPane", QStringLiteral("Problems"), ProblemsList1,
        Qt::LeftDockWidgetArea, QStringLiteral("ProblemsPane"));
    // Both on the left, one tab each, when both are shown.
    tabifyDockWidget(structure, problems);
    const auto goTo = [this](qint64 segment) {
        MessageBoxes::Guarded([&] {
            if (File)
                MoveToSegment(SegmentNumber(segment));
        });
    };
    connect(StructurePane1, &StructurePane::GoToSegment, this, goTo);
    connect(ProblemsList1, &ProblemsList::GoToSegment, this, goTo);
}

void TForm1::TakeCheckResults()
{
    if (!Check)
        return;
    std::optional<BackgroundCheck::Snapshot> snapshot = Check->Take();
    if (!snapshot)
        return;
    const bool first = outline_.LastSegment() == 0;
    if (first)
        StructurePane1->SetOutline(snapshot->Outline, snapshot->Complete);
    else
        StructurePane1->UpdateOutline(snapshot->Outline, snapshot->Complete);
    ProblemsList1->SetProblems(snapshot->Problems, snapshot->Complete);
    outline_ = std::move(snapshot->Outline);
    problems_ = std::move(snapshot->Problems);
    checkComplete_ = snapshot->Complete;
    if (first) {
        // The HL trees read their segments from the file shown.
        auto buffer = std::make_shared<QByteArray>();
        StructurePane1->SetSegmentSource([this, buffer](qint64 number) {
            *buffer = Memo1->Model().Line(number - 1, 0, HlSegmentBytes);
            return QByteArrayView(*buffer);
        });
    }
    ShowCaretInEnvelopes(Memo1->LineFromChar(Memo1->SelStart()) + 1);
}

void TForm1::ShowCaretInEnvelopes(qint64 segment)
{
    SetStatusText(2, outline_.PositionText(segment));
    // A problem at the caret's segment, or else how many the check found once it has ended.
    const auto [first, end] = problems_.At(segment);
    if (first < end)
        SetStatusText(3, problems_.Message(first));
    else
        SetStatusText(3, checkComplete_ ? problems_.Summary() : QString());
    StructurePane1->SelectSegment(segment);
    ProblemsList1->SelectSegment(segment);
}

void TForm1::ClearEnvelopes()
{
    outline_ = {};
    problems_ = {};
    checkComplete_ = false;
    StructurePane1->Clear();
    ProblemsList1->Clear();
    SetStatusText(2, QString());
    SetStatusText(3, QString());
}
