// The main window's menus, tool strip and client area, as the window's design lays them out.

#include "frmMain.h"

#include "MessageBoxes.h"
#include "ProductInfo.h"
#include "RawDataView.h"
#include "ToolIcons.h"
#include "WindowFont.h"

#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int ToolStripHeight = 26;
constexpr int StatusBarHeight = 19;
constexpr int PositionPanelWidth = 175;
constexpr int ProgressBarHeight = 9;

QIcon ThemeIcon(const char *name, const QStyle *style, QStyle::StandardPixmap fallback)
{
    return QIcon::fromTheme(QLatin1String(name), style->standardIcon(fallback));
}

} // namespace

QAction *TForm1::AddItem(QMenu *menu, const char *name, const QString &caption,
    const QKeySequence &shortcut, void (TForm1::*handler)())
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, MessageBoxes::GuardedSlot(this, handler));
    return action;
}

QToolButton *TForm1::AddButton(const char *name, int left, const QString &hint, const QIcon &icon,
    bool enabled, void (TForm1::*handler)())
{
    auto *button = new QToolButton(ToolStrip);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(left, 2, 23, 22);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    button->setEnabled(enabled);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, MessageBoxes::GuardedSlot(this, handler));
    return button;
}

void TForm1::CreateMenus()
{
    const QKeySequence none;
    File1 = menuBar()->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    Open1 = AddItem(File1, "Open1", QStringLiteral("&Open..."), none, &TForm1::Open1Click);
    Close1 = AddItem(File1, "Close1", QStringLiteral("&Close"), none, &TForm1::Close1Click);
    File1->addSeparator();
    Print1 = AddItem(File1, "Print1", QStringLiteral("&Print..."), none, &TForm1::Print1Click);
    File1->addSeparator();
    RecentFiles = File1->addMenu(QStringLiteral("&Recent Files"));
    RecentFiles->setObjectName(QStringLiteral("RecentFiles"));
    File1->addSeparator();
    Exit1 = AddItem(File1, "Exit1", QStringLiteral("E&xit"), none, &TForm1::Exit1Click);

    Edit1 = menuBar()->addMenu(QStringLiteral("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    CopyToClipboard = AddItem(Edit1, "CopyToClipboard", QStringLiteral("&Copy"),
        QKeySequence(Qt::CTRL | Qt::Key_C), &TForm1::CopyToClipboardClick);
    Edit1->addSeparator();
    Find1 = AddItem(Edit1, "Find1", QStringLiteral("&Find..."), QKeySequence(Qt::CTRL | Qt::Key_F),
        &TForm1::Find1Click);
    FindNext1 = AddItem(Edit1, "FindNext1", QStringLiteral("Find &Next"), QKeySequence(Qt::Key_F3),
        &TForm1::FindNext1Click);
    FindinFiles1 = AddItem(Edit1, "FindinFiles1", QStringLiteral("Find &in Files..."),
        QKeySequence(Qt::CTRL | Qt::Key_I), &TForm1::FindinFiles1Click);
    Edit1->addSeparator();
    GotoLine1 = AddItem(Edit1, "GotoLine1", QStringLiteral("&Goto Line..."),
        QKeySequence(Qt::CTRL | Qt::Key_G), &TForm1::GotoLine1Click);
    GotoPreviousSegmentofThisType1 = AddItem(Edit1, "GotoPreviousSegmentofThisType1",
        QStringLiteral("Goto &Previous Segment of This Type"), QKeySequence(Qt::CTRL | Qt::Key_S),
        &TForm1::GotoPreviousSegmentofThisType1Click);
    GotoNextMatchingSegmentType1 = AddItem(Edit1, "GotoNextMatchingSegmentType1",
        QStringLiteral("Goto &Next Segment of This Type"), QKeySequence(Qt::CTRL | Qt::Key_N),
        &TForm1::GotoNextMatchingSegmentType1Click);
    Edit1->addSeparator();
    SelectAll1 = AddItem(Edit1, "SelectAll1", QStringLiteral("Select All"),
        QKeySequence(Qt::CTRL | Qt::Key_A), &TForm1::SelectAll1Click);

    View1 = menuBar()->addMenu(QStringLiteral("&View"));
    View1->setObjectName(QStringLiteral("View1"));
    // The panels' items go above this separator (AddPanel), the font below it.
    panelsEnd_ = View1->addSeparator();
    Font1 = AddItem(View1, "Font1", QStringLiteral("&Font..."), none, &TForm1::Font1Click);

    ools1 = menuBar()->addMenu(QStringLiteral("&Tools"));
    ools1->setObjectName(QStringLiteral("ools1"));
    MakeAvailableonWindowsContextMenus1 = AddItem(ools1, "MakeAvailableonWindowsContextMenus1",
        QStringLiteral("Make Brimlet Available on Desktop Context Menus"), none,
        &TForm1::MakeAvailableonWindowsContextMenus1Click);
    MakeAvailableonWindowsContextMenus1->setIcon(
        ThemeIcon("preferences-desktop", style(), QStyle::SP_DesktopIcon));
    AddItem(ools1, "RemoveBrimletfromDesktopContextMenus1",
        QStringLiteral("Remove Brimlet from Desktop Context Menus"), none,
        &TForm1::RemoveBrimletfromDesktopContextMenus1Click)
        ->setIcon(ThemeIcon("edit-delete", style(), QStyle::SP_TrashIcon));

    Help1 = menuBar()->addMenu(QStringLiteral("&Help"));
    Help1->setObjectName(QStringLiteral("Help1"));
    Help2 = AddItem(Help1, "Help2", QStringLiteral("Help..."), none, &TForm1::Help2Click);
    Help1->addSeparator();
    License1 = AddItem(Help1, "License1", QStringLiteral("License"), none, &TForm1::License1Click);
    Help1->addSeparator();
    WebSite1 = AddItem(Help1, "WebSite1", QString::fromLatin1(ProductInfo::WebItemCaption), none,
        &TForm1::WebSite1Click);
    About1 = AddItem(Help1, "About1", QStringLiteral("About..."), none, &TForm1::About1Click);
    Help2->setIcon(ThemeIcon("help-contents", style(), QStyle::SP_DialogHelpButton));
    License1->setIcon(ThemeIcon("text-x-generic", style(), QStyle::SP_FileDialogDetailedView));
    About1->setIcon(ThemeIcon("help-about", style(), QStyle::SP_MessageBoxInformation));

    for (QMenu *menu : { File1, Edit1, View1, ools1, Help1, RecentFiles })
        menu->setAccessibleName(menu->title().remove(QLatin1Char('&')));
    Open1->setIcon(ThemeIcon("document-open", style(), QStyle::SP_DialogOpenButton));
    Close1->setIcon(ThemeIcon("document-close", style(), QStyle::SP_DialogCloseButton));
    Print1->setIcon(ToolIcons::Print());
    CopyToClipboard->setIcon(ToolIcons::Copy());
    Find1->setIcon(ToolIcons::Find());
    FindinFiles1->setIcon(ToolIcons::FindInFiles());
}

void TForm1::CreateToolStrip()
{
    ToolStrip = new QWidget;
    ToolStrip->setObjectName(QStringLiteral("ToolStrip"));
    ToolStrip->setAccessibleName(QStringLiteral("Tool bar"));
    ToolStrip->setFixedHeight(ToolStripHeight);
    // The buttons show their menu items' icons, made once with the menus.
    spOpen = AddButton(
        "spOpen", 16, QStringLiteral("Open..."), Open1->icon(), true, &TForm1::spOpenClick);
    spClose = AddButton(
        "spClose", 46, QStringLiteral("Close"), Close1->icon(), false, &TForm1::spCloseClick);
    spCopy = AddButton(
        "spCopy", 88, QStringLiteral("Copy"), CopyToClipboard->icon(), false, &TForm1::spCopyClick);
    spFind = AddButton(
        "spFind", 128, QStringLiteral("Find..."), Find1->icon(), false, &TForm1::spFindClick);
    spFindInFiles = AddButton("spFindInFiles", 157, QStringLiteral("Find in Files..."),
        FindinFiles1->icon(), true, &TForm1::spFindInFilesClick);
    spPrint = AddButton(
        "spPrint", 190, QStringLiteral("Print..."), Print1->icon(), false, &TForm1::spPrintClick);
}

void TForm1::CreateClientArea()
{
    auto *client = new QWidget;
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolStrip);

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setAccessibleName(QStringLiteral("Pages"));
    Memo1 = new RawDataView;
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(QStringLiteral("Raw Data"));
    Memo1->setFont(RawDataFont());
    Memo1->setEnabled(false);
    PageControl1->addTab(Memo1, QStringLiteral("Raw Data"));
    layout->addWidget(PageControl1, 1);
    setCentralWidget(client);

    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setAccessibleName(QStringLiteral("Status bar"));
    bar->setFixedHeight(StatusBarHeight);
    bar->setSizeGripEnabled(true);
    StatusPanel0 = new QLabel;
    StatusPanel0->setObjectName(QStringLiteral("StatusPanel0"));
    StatusPanel0->setFixedWidth(PositionPanelWidth);
    StatusPanel1 = new QLabel;
    StatusPanel1->setObjectName(QStringLiteral("StatusPanel1"));
    bar->addWidget(StatusPanel0);
    bar->addWidget(StatusPanel1);
    // Where the caret stands in its transaction set, and the envelope check's findings.
    StatusPanel2 = new QLabel;
    StatusPanel2->setObjectName(QStringLiteral("StatusPanel2"));
    StatusPanel3 = new QLabel;
    StatusPanel3->setObjectName(QStringLiteral("StatusPanel3"));
    bar->addPermanentWidget(StatusPanel2);
    bar->addPermanentWidget(StatusPanel3);
    for (int panel = 0; panel < 4; ++panel)
        SetStatusText(panel, QString());

    // A thin bar in the rest of the status bar, right of the element name, so that neither
    // hides the other.
    ProgressBar1 = new QProgressBar;
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setFixedHeight(ProgressBarHeight);
    bar->addPermanentWidget(ProgressBar1, 1);
    ProgressBar1->setAccessibleName(QStringLiteral("Loading"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
}

void TForm1::CreatePanels()
{
    CreateStructurePanels();
    CreateElementPanel();
}

QDockWidget *TForm1::AddPanel(const char *objectName, const QString &title, QWidget *content,
    Qt::DockWidgetArea area, const QString &settingsKey)
{
    auto *dock = new QDockWidget(title, this);
    dock->setObjectName(QLatin1String(objectName));
    dock->setAccessibleName(title);
    dock->setWidget(content);
    addDockWidget(area, dock);
    dock->hide();
    QAction *toggle = dock->toggleViewAction();
    toggle->setObjectName(QLatin1String(objectName) + QLatin1String("Item"));
    View1->insertAction(panelsEnd_, toggle);
    panels_.append({ dock, settingsKey });
    return dock;
}

void TForm1::SetStatusText(int panel, const QString &text)
{
    QLabel *const labels[] = { StatusPanel0, StatusPanel1, StatusPanel2, StatusPanel3 };
    const QString purposes[] = { QStringLiteral("Position"), QStringLiteral("Element name"),
        QStringLiteral("Place in the transaction set"), QStringLiteral("Problems") };
    QLabel *label = labels[panel];
    const QString &purpose = purposes[panel];
    label->setText(text);
    // The name is what the panel shows, or what it is for while it shows nothing.
    label->setAccessibleName(text.isEmpty() ? purpose : text);
    label->setAccessibleDescription(purpose);
}

void TForm1::ConnectHandlers()
{
    const auto guarded
        = [this](void (TForm1::*handler)()) { return MessageBoxes::GuardedSlot(this, handler); };
    connect(File1, &QMenu::aboutToShow, this, guarded(&TForm1::File1Click));
    connect(Edit1, &QMenu::aboutToShow, this, guarded(&TForm1::Edit1Click));
    connect(Memo1, &RawDataView::Clicked, this, guarded(&TForm1::Memo1Click));
    connect(Memo1, &RawDataView::SelectionChanged, this, guarded(&TForm1::Memo1SelectionChange));
    connect(
        Memo1, &RawDataView::KeyReleased, this, [this](int key, Qt::KeyboardModifiers modifiers) {
            MessageBoxes::Guarded([&] { Memo1KeyUp(key, modifiers); });
        });
}
