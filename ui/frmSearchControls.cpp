// The Find in Files window's controls, menu and status bar, as the window's design lays them out.

#include "frmSearch.h"

#include "AnchorLayout.h"
#include "ColumnLinesDelegate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>

namespace {

// The panel that holds every control but the status bar, in its designed size.
constexpr QSize PanelSize(494, 316);
constexpr int StatusBarHeight = 19;
constexpr int ColumnWidth = 64;
constexpr int RowHeight = 17;

constexpr AnchorLayout::Anchors LeftTop = AnchorLayout::Left | AnchorLayout::Top;
constexpr AnchorLayout::Anchors LeftTopRight = LeftTop | AnchorLayout::Right;
constexpr AnchorLayout::Anchors TopRight = AnchorLayout::Top | AnchorLayout::Right;
constexpr AnchorLayout::Anchors RightBottom = AnchorLayout::Right | AnchorLayout::Bottom;
constexpr AnchorLayout::Width FitsText = AnchorLayout::Width::FitsText;

template<class Control>
Control *Named(Control *control, const char *name)
{
    control->setObjectName(QLatin1String(name));
    return control;
}

QLabel *NewLabel(const char *name, const QString &caption, QWidget *buddy)
{
    auto *label = Named(new QLabel(caption), name);
    // Screen readers name the box after its label.
    label->setBuddy(buddy);
    return label;
}

QComboBox *NewHistoryBox(const char *name)
{
    auto *box = Named(new QComboBox, name);
    box->setEditable(true);
    // The window keeps the item list in step with its history itself.
    box->setInsertPolicy(QComboBox::NoInsert);
    // Completion only ever adds to what was typed, never changes its letter case.
    box->completer()->setCaseSensitivity(Qt::CaseSensitive);
    return box;
}

QCheckBox *NewCaptionLeftCheckBox(const char *name, const QString &caption)
{
    auto *box = Named(new QCheckBox(caption), name);
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

QPushButton *NewButton(const char *name, const QString &caption)
{
    auto *button = Named(new QPushButton(caption), name);
    // Enter on a button that has the focus clicks that button, not Find.
    button->setAutoDefault(true);
    return button;
}

} // namespace

void TSearch::CreateControls()
{
    auto *panel = Named(new QWidget, "Panel1");
    auto *layout = new AnchorLayout(panel, PanelSize);

    Folder = NewHistoryBox("Folder");
    Label4 = NewLabel("Label4", QStringLiteral("Folder"), Folder);
    Button1 = NewButton("Button1", QStringLiteral("..."));
    Button1->setAccessibleName(QStringLiteral("Select Folder"));
    FindText = NewHistoryBox("FindText");
    Label2 = NewLabel("Label2", QStringLiteral("Search For"), FindText);
    MatchCase = NewCaptionLeftCheckBox("MatchCase", QStringLiteral("Match Case"));
    SearchSubdirectories
        = NewCaptionLeftCheckBox("SearchSubdirectories", QStringLiteral("Search Subdirectories"));
    Filespec = Named(new QLineEdit(QStringLiteral("*")), "Filespec");
    Label1 = NewLabel("Label1", QStringLiteral("Filespec:"), Filespec);

    StringGrid1 = Named(new QTableWidget, "StringGrid1");
    Label3 = NewLabel("Label3", QStringLiteral("Results:"), StringGrid1);
    StringGrid1->horizontalHeader()->setDefaultSectionSize(ColumnWidth);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    StringGrid1->horizontalHeader()->setStretchLastSection(false);
    StringGrid1->horizontalHeader()->setHighlightSections(false);
    // Header texts read from the left, as the cells below them do, and are cut on the right.
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(RowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(RowHeight);
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->setColumnCount(StoredSettings::ResultColumnCount);
    ResetResults();
    StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setWordWrap(false);
    // Tab leaves the grid instead of moving between its cells.
    StringGrid1->setTabKeyNavigation(false);
    // Lines between the columns, none between the rows.
    StringGrid1->setShowGrid(false);
    StringGrid1->setItemDelegate(new ColumnLinesDelegate(StringGrid1));

    Open = NewButton("Open", QStringLiteral("Open"));
    Find = NewButton("Find", QStringLiteral("Find"));
    Find->setDefault(true);
    Cancel = NewButton("Cancel", QStringLiteral("Cancel"));

    layout->Add(Label4, { 33, 16, 30, 13 }, LeftTop, FitsText);
    layout->Add(Folder, { 103, 15, 318, 21 }, LeftTopRight);
    layout->Add(Button1, { 419, 14, 20, 20 }, TopRight);
    layout->Add(Label2, { 33, 53, 48, 13 }, LeftTop, FitsText);
    layout->Add(FindText, { 103, 53, 338, 21 }, LeftTopRight);
    layout->Add(MatchCase, { 182, 79, 82, 17 }, TopRight, FitsText);
    layout->Add(SearchSubdirectories, { 304, 80, 137, 17 }, TopRight, FitsText);
    layout->Add(Label1, { 33, 105, 42, 13 }, LeftTop, FitsText);
    layout->Add(Filespec, { 103, 102, 338, 21 }, LeftTopRight);
    layout->Add(Label3, { 33, 144, 39, 13 }, LeftTop, FitsText);
    layout->Add(StringGrid1, { 103, 144, 337, 104 }, LeftTopRight | AnchorLayout::Bottom);
    layout->Add(Open, { 103, 271, 75, 25 }, AnchorLayout::Left | AnchorLayout::Bottom);
    layout->Add(Find, { 270, 271, 75, 25 }, RightBottom);
    layout->Add(Cancel, { 366, 271, 75, 25 }, RightBottom);
    setCentralWidget(panel);

    QWidget *previous = Folder;
    for (QWidget *next : std::initializer_list<QWidget *> { FindText, MatchCase,
             SearchSubdirectories, Filespec, Find, Cancel, Open, StringGrid1, Button1 }) {
        setTabOrder(previous, next);
        previous = next;
    }

    StatusBar1 = Named(statusBar(), "StatusBar1");
    StatusBar1->setFixedHeight(StatusBarHeight);
    StatusBar1->setSizeGripEnabled(true);
}

void TSearch::CreateMenu()
{
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    Edit1 = Named(menuBar()->addMenu(QStringLiteral("&Edit")), "Edit1");
    Edit1->setAccessibleName(QStringLiteral("Edit"));
    CopyFileListtoClipboard1
        = Named(Edit1->addAction(QStringLiteral("&Copy File List to Clipboard")),
            "CopyFileListtoClipboard1");
    CopyFileListtoClipboard1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
}

// The bar's own message: it changes with every file searched, and unlike a label in the bar it
// changes no layout when it does.
void TSearch::SetStatusText(const QString &text)
{
    StatusBar1->showMessage(text);
}

QString TSearch::StatusText() const
{
    return StatusBar1->currentMessage();
}
