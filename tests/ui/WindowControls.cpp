#include "WindowControls.h"

#include "FindDialog.h"
#include "RawDataView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>

#include <stdexcept>

QObject *NamedChild(const QObject &root, const char *name, const QMetaObject &type)
{
    for (QObject *child : root.findChildren<QObject *>(QLatin1String(name))) {
        if (type.cast(child))
            return child;
    }
    // Thrown, not asserted: the test fails with the name instead of crashing on a null pointer.
    throw std::runtime_error(std::string("no ") + type.className() + " named " + name);
}

#define BRIMLET_NAMED(member)                                                                      \
    member(Named<std::remove_pointer_t<decltype(member)>>(window, #member))

MainWindowControls::MainWindowControls(const QWidget &window)
    : BRIMLET_NAMED(File1)
    , BRIMLET_NAMED(Open1)
    , BRIMLET_NAMED(Close1)
    , BRIMLET_NAMED(Print1)
    , BRIMLET_NAMED(RecentFiles)
    , BRIMLET_NAMED(Exit1)
    , BRIMLET_NAMED(Edit1)
    , BRIMLET_NAMED(CopyToClipboard)
    , BRIMLET_NAMED(Find1)
    , BRIMLET_NAMED(FindNext1)
    , BRIMLET_NAMED(FindinFiles1)
    , BRIMLET_NAMED(GotoLine1)
    , BRIMLET_NAMED(GotoPreviousSegmentofThisType1)
    , BRIMLET_NAMED(GotoNextMatchingSegmentType1)
    , BRIMLET_NAMED(SelectAll1)
    , BRIMLET_NAMED(View1)
    , BRIMLET_NAMED(Font1)
    , BRIMLET_NAMED(ools1)
    , BRIMLET_NAMED(MakeAvailableonWindowsContextMenus1)
    , BRIMLET_NAMED(Help1)
    , BRIMLET_NAMED(Help2)
    , BRIMLET_NAMED(License1)
    , BRIMLET_NAMED(WebSite1)
    , BRIMLET_NAMED(About1)
    , BRIMLET_NAMED(ToolStrip)
    , BRIMLET_NAMED(spOpen)
    , BRIMLET_NAMED(spClose)
    , BRIMLET_NAMED(spCopy)
    , BRIMLET_NAMED(spFind)
    , BRIMLET_NAMED(spFindInFiles)
    , BRIMLET_NAMED(spPrint)
    , BRIMLET_NAMED(PageControl1)
    , BRIMLET_NAMED(Memo1)
    , BRIMLET_NAMED(StatusPanel0)
    , BRIMLET_NAMED(StatusPanel1)
    , BRIMLET_NAMED(ProgressBar1)
    , BRIMLET_NAMED(FindDialog1)
{ }

SearchWindowControls::SearchWindowControls(const QWidget &window)
    : BRIMLET_NAMED(Label4)
    , BRIMLET_NAMED(Folder)
    , BRIMLET_NAMED(Button1)
    , BRIMLET_NAMED(Label2)
    , BRIMLET_NAMED(FindText)
    , BRIMLET_NAMED(MatchCase)
    , BRIMLET_NAMED(SearchSubdirectories)
    , BRIMLET_NAMED(Label1)
    , BRIMLET_NAMED(Filespec)
    , BRIMLET_NAMED(Label3)
    , BRIMLET_NAMED(StringGrid1)
    , BRIMLET_NAMED(Open)
    , BRIMLET_NAMED(Find)
    , BRIMLET_NAMED(Cancel)
    , BRIMLET_NAMED(StatusBar1)
    , BRIMLET_NAMED(Edit1)
    , BRIMLET_NAMED(CopyFileListtoClipboard1)
{ }
