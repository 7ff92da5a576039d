#include "frmSearch.h"

#include "FileNames.h"

#include "FolderSearch.h"
#include "MessageBoxes.h"
#include "SearchHistory.h"
#include "SearchResultRow.h"
#include "WindowFont.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QTableWidget>

#include <algorithm>

namespace {

// Empty once leading and trailing blanks and control characters are removed.
bool IsBlank(const QString &text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() <= u' ' || c.isSpace() || c.category() == QChar::Other_Control;
    });
}

QString ChooseFolder(QWidget *owner)
{
    QFileDialog dialog(owner, QStringLiteral("Select Folder"));
    dialog.setObjectName(QStringLiteral("FolderDialog"));
    dialog.setFileMode(QFileDialog::Directory);
    // Folders only, and nothing offered to make or change them: Qt's own dialog, whose button
    // for a new folder can be hidden, not only disabled.
    dialog.setOptions(
        QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly | QFileDialog::DontUseNativeDialog);
    if (auto *newFolder = dialog.findChild<QWidget *>(QStringLiteral("newFolderButton")))
        newFolder->hide();
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

// Follows a history update in the box's item list (from: where the text stood before, as
// SearchHistory reports it). The box shows the same text afterwards.
void MirrorHistoryMove(QComboBox *box, int from, const QString &text)
{
    if (from == 0)
        return;
    const QString shown = box->currentText();
    if (from > 0)
        box->removeItem(from);
    box->insertItem(0, text);
    // Changing the items may have selected another one.
    box->setEditText(shown);
}

} // namespace

TSearch::TSearch(const TSettingsList &settings, QWidget *parent)
    : QMainWindow(parent, Qt::Window)
    , SelectFolder(ChooseFolder)
{
    setObjectName(QStringLiteral("Search"));
    setFont(WindowFont());
    setWindowTitle(QStringLiteral("Find in Files"));
    setAccessibleName(windowTitle());
    CreateControls();
    CreateMenu();
    ConnectHandlers();
    // The designed client area is 494 x 335 below the menu bar.
    resize(494, 335 + menuBar()->sizeHint().height());
    // Ctrl+C belongs to the Edit menu whichever control has the focus.
    QCoreApplication::instance()->installEventFilter(this);
    FormCreate(settings);
}

TSearch::~TSearch() = default;

void TSearch::ConnectHandlers()
{
    const auto guarded = [this](void (TSearch::*handler)()) {
        return [this, handler] { MessageBoxes::Guarded([&] { (this->*handler)(); }); };
    };
    // Only the user's edits: typing, or picking an item. Text the program puts in does not count.
    for (QComboBox *box : { Folder, FindText }) {
        connect(box->lineEdit(), &QLineEdit::textEdited, this, guarded(&TSearch::FindTextChange));
        connect(box, &QComboBox::activated, this, guarded(&TSearch::FindTextChange));
    }
    connect(Find, &QPushButton::clicked, this, guarded(&TSearch::FindClick));
    connect(Cancel, &QPushButton::clicked, this, guarded(&TSearch::CancelClick));
    connect(Open, &QPushButton::clicked, this, guarded(&TSearch::OpenClick));
    connect(Button1, &QPushButton::clicked, this, guarded(&TSearch::Button1Click));
    connect(Edit1, &QMenu::aboutToShow, this, guarded(&TSearch::Edit1Click));
    connect(CopyFileListtoClipboard1, &QAction::triggered, this,
        guarded(&TSearch::CopyFileListtoClipboard1Click));
}

bool TSearch::event(QEvent *event)
{
    // Nothing here has a status tip: hovering the menu leaves the search's status text alone.
    if (event->type() == QEvent::StatusTip)
        return true;
    return QMainWindow::event(event);
}

void TSearch::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        MessageBoxes::Guarded([&] { FormShow(); });
}

void TSearch::keyPressEvent(QKeyEvent *event)
{
    // Find is the window's default button: Enter that no control takes clicks it.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier) {
        if (Find->isEnabled())
            Find->click();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool TSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget || widget->window() != this)
        return false;
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    if (CopyFileListtoClipboard1->shortcut().matches(pressed) != QKeySequence::ExactMatch)
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        MessageBoxes::Guarded([&] { Edit1Click(); });
        // Enabled, the item's shortcut acts. Disabled, the key press follows and is dropped.
        event->setAccepted(!CopyFileListtoClipboard1->isEnabled());
        return true;
    }
    // The boxes never copy their own selected text on Ctrl+C.
    return true;
}

void TSearch::FormShow()
{
    // While a search runs (the window was closed and shown again), the search alone sets the
    // grid, the buttons and its flag; a second search could start otherwise.
    if (Searching)
        return;
    if (!HasResults()) {
        ResetResults();
        Open->setEnabled(false);
    } else {
        Open->setEnabled(true);
    }
    for (QComboBox *box : { Folder, FindText }) {
        if (IsBlank(box->currentText()) && box->count() > 0) {
            box->setCurrentIndex(0);
            box->setEditText(box->itemText(0));
        }
    }
    Find->setEnabled(!IsBlank(FindText->currentText()) && !IsBlank(Folder->currentText()));
}

void TSearch::FindTextChange()
{
    Find->setEnabled(!Searching && !IsBlank(FindText->currentText()));
}

void TSearch::FindClick()
{
    if (Searching)
        return;
    FolderSearchInputs inputs;
    inputs.Folder = Folder->currentText();
    inputs.SearchText = FindText->currentText();
    inputs.Filespec = Filespec->text();
    inputs.MatchCase = MatchCase->isChecked();
    inputs.SearchSubdirectories = SearchSubdirectories->isChecked();

    Searching = true;
    CancelRequested = false;
    // Find and Open wait for the end: events are handled during the search, and neither a
    // second search nor a load may start inside it.
    QWidget *focused = focusWidget();
    Find->setEnabled(false);
    Open->setEnabled(false);
    QWidget *focusMovedTo = focusWidget();
    const auto end = qScopeGuard([&] {
        if (StringGrid1->rowCount() == 0)
            AppendRow({});
        FitColumns();
        Open->setEnabled(HasResults());
        Searching = false;
        FindTextChange();
        // Enter goes on clicking Find, not the button the focus was moved to.
        if (focused == Find && focusWidget() == focusMovedTo && Find->isEnabled())
            Find->setFocus();
    });

    FolderSearch::Callbacks callbacks;
    callbacks.Status = [this](const QString &text) {
        SetStatusText(text);
        // No events are handled while the file list is built: show that it is.
        if (text == FolderSearch::BuildingStatus)
            repaint();
    };
    callbacks.UpdateHistories = [this] { UpdateHistories(); };
    callbacks.ClearResults = [this] { StringGrid1->setRowCount(0); };
    callbacks.AppendRow = [this](const SearchResultRow &row) { AppendRow(row); };
    callbacks.CancelRequested = [this] {
        QCoreApplication::processEvents();
        return CancelRequested;
    };
    FolderSearch(std::move(inputs), std::move(callbacks)).Run();
}

void TSearch::UpdateHistories()
{
    const QString folder = Folder->currentText();
    const QString text = FindText->currentText();
    const SearchHistory::Moves moves
        = SearchHistory::Update(FolderHistory, SearchTextHistory, folder, text);
    MirrorHistoryMove(Folder, moves.Folder, folder);
    MirrorHistoryMove(FindText, moves.SearchText, text);
}

void TSearch::CancelClick()
{
    if (Searching)
        CancelRequested = true;
    else
        close();
}

void TSearch::OpenClick()
{
    const SearchResultRow row = RowAt(StringGrid1->currentRow());
    // An empty row (or none) names no file.
    if (row.Filename.isEmpty())
        return;
    openRequested_ = row.Path();
    emit OpenRequested(openRequested_);
}

void TSearch::LoadFinished(const QString &path, bool loaded)
{
    if (openRequested_.isEmpty() || path != openRequested_)
        return;
    openRequested_.clear();
    // A refused file was reported by the main window; the list stays for another choice.
    if (loaded)
        close();
}

void TSearch::ShowFolder(const QString &folder)
{
    Folder->setEditText(folder);
    show();
}

void TSearch::BringToFront()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TSearch::StopForExit()
{
    // Instead of keeping the program alive until it has read every file.
    if (!Searching)
        return;
    CancelRequested = true;
    hide();
}

void TSearch::Button1Click()
{
    const QString folder = SelectFolder ? SelectFolder(this) : QString();
    if (!folder.isEmpty())
        Folder->setEditText(folder);
}

void TSearch::Edit1Click()
{
    CopyFileListtoClipboard1->setEnabled(HasResults());
}

void TSearch::CopyFileListtoClipboard1Click()
{
    QList<SearchResultRow> rows;
    for (int row = 0; row < StringGrid1->rowCount(); ++row)
        rows.append(RowAt(row));
    const QString text = SearchResultRow::ListText(rows);
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void TSearch::AppendRow(const SearchResultRow &row)
{
    const int at = StringGrid1->rowCount();
    StringGrid1->insertRow(at);
    const QString cells[StoredSettings::ResultColumnCount]
        = { row.Filename, row.Directory, row.Size, row.LastModified };
    for (int column = 0; column < StoredSettings::ResultColumnCount; ++column) {
        // A name that is not UTF-8 shows its odd bytes as replacement characters; the cell keeps
        // the name itself, by which the file is opened.
        auto *item = new QTableWidgetItem(FileNames::Display(cells[column]));
        item->setData(Qt::UserRole, cells[column]);
        item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
        StringGrid1->setItem(at, column, item);
    }
    // The first result is the current row, so that Open opens it without a click.
    if (!row.Filename.isEmpty() && StringGrid1->currentRow() < 0)
        StringGrid1->setCurrentCell(at, 0);
}

// One empty row below the header, as when nothing was found.
void TSearch::ResetResults()
{
    StringGrid1->setRowCount(0);
    StringGrid1->setHorizontalHeaderLabels({ QStringLiteral("Filename"),
        QStringLiteral("Directory"), QStringLiteral("Size"), QStringLiteral("Last Modified") });
    AppendRow({});
}

bool TSearch::HasResults() const
{
    return !CellText(0, 0).isEmpty();
}

QString TSearch::CellText(int row, int column) const
{
    const QTableWidgetItem *item = StringGrid1->item(row, column);
    return item ? item->data(Qt::UserRole).toString() : QString();
}

SearchResultRow TSearch::RowAt(int row) const
{
    return { CellText(row, 0), CellText(row, 1), CellText(row, 2), CellText(row, 3) };
}
