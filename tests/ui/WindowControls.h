#pragma once

#include <QObject>
#include <QString>

class FindDialog;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QWidget;
class RawDataView;

// The child of root named name, of type T; a missing one fails the test that asks for it.
QObject *NamedChild(const QObject &root, const char *name, const QMetaObject &type);
template<class T>
T *Named(const QObject &root, const char *name)
{
    return static_cast<T *>(NamedChild(root, name, T::staticMetaObject));
}

// The main window's controls and menu items, found by the object names the window's design
// gives them.
struct MainWindowControls
{
    explicit MainWindowControls(const QWidget &window);

    QMenu *File1;
    QAction *Open1;
    QAction *Close1;
    QAction *Print1;
    QMenu *RecentFiles;
    QAction *Exit1;
    QMenu *Edit1;
    QAction *CopyToClipboard;
    QAction *Find1;
    QAction *FindNext1;
    QAction *FindinFiles1;
    QAction *GotoLine1;
    QAction *GotoPreviousSegmentofThisType1;
    QAction *GotoNextMatchingSegmentType1;
    QAction *SelectAll1;
    QMenu *View1;
    QAction *Font1;
    QMenu *ools1;
    QAction *MakeAvailableonWindowsContextMenus1;
    QMenu *Help1;
    QAction *Help2;
    QAction *License1;
    QAction *WebSite1;
    QAction *About1;
    QWidget *ToolStrip;
    QToolButton *spOpen;
    QToolButton *spClose;
    QToolButton *spCopy;
    QToolButton *spFind;
    QToolButton *spFindInFiles;
    QToolButton *spPrint;
    QTabWidget *PageControl1;
    RawDataView *Memo1;
    QLabel *StatusPanel0;
    QLabel *StatusPanel1;
    QProgressBar *ProgressBar1;
    FindDialog *FindDialog1;
};

// The Find in Files window's controls and menu items, by their object names.
struct SearchWindowControls
{
    explicit SearchWindowControls(const QWidget &window);

    QLabel *Label4;
    QComboBox *Folder;
    QPushButton *Button1;
    QLabel *Label2;
    QComboBox *FindText;
    QCheckBox *MatchCase;
    QCheckBox *SearchSubdirectories;
    QLabel *Label1;
    QLineEdit *Filespec;
    QLabel *Label3;
    QTableWidget *StringGrid1;
    QPushButton *Open;
    QPushButton *Find;
    QPushButton *Cancel;
    QStatusBar *StatusBar1;
    QMenu *Edit1;
    QAction *CopyFileListtoClipboard1;
};
