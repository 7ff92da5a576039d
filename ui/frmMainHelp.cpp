// The Tools and Help menus' commands: the desktop's context-menu entries, the manual, the
// License and About windows and the product's web page.

#include "frmMain.h"

#include "DesktopEntries.h"
#include "DocumentOpener.h"
#include "MessageBoxes.h"
#include "ProductInfo.h"
#include "frmAbout.h"
#include "frmLicense.h"

#include <QApplication>
#include <QScopeGuard>
#include <QStatusBar>

namespace {

// Long enough to be read once the menu has closed.
constexpr int DoneMessageTime = 10000;

// Runs a command on the desktop's entries for this program; says in the status bar that it was
// done, or shows why it was not.
void ChangeDesktopEntries(QMainWindow &window,
    std::optional<QString> (DesktopEntries::*command)() const, const QString &done)
{
    window.statusBar()->clearMessage();
    std::optional<QString> failure;
    {
        // The desktop's database tools may take a moment; the window takes no input meanwhile.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        failure = (DesktopEntries(QCoreApplication::applicationFilePath()).*command)();
    }
    if (failure)
        MessageBoxes::ShowErrorBox(QStringLiteral("Error"), *failure);
    else
        window.statusBar()->showMessage(done, DoneMessageTime);
}

} // namespace

void TForm1::MakeAvailableonWindowsContextMenus1Click()
{
    ChangeDesktopEntries(*this, &DesktopEntries::Write,
        QStringLiteral("Brimlet was added to the desktop context menus."));
}

void TForm1::RemoveBrimletfromDesktopContextMenus1Click()
{
    ChangeDesktopEntries(*this, &DesktopEntries::Remove,
        QStringLiteral("Brimlet was removed from the desktop context menus."));
}

void TForm1::Help2Click()
{
    DocumentOpener::Open(ProductInfo::ManualUrl(QCoreApplication::applicationDirPath()),
        QStringLiteral("the user's manual"));
}

void TForm1::License1Click()
{
    if (license_)
        license_->exec();
}

void TForm1::WebSite1Click()
{
    DocumentOpener::Open(ProductInfo::ProductPageUrl(), QStringLiteral("the web page"));
}

void TForm1::About1Click()
{
    if (about_)
        about_->exec();
}
