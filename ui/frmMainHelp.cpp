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

void TForm1::MakeAvailableonWindowsContextMenus1Click()
{
    std::optional<QString> failure;
    {
        // The desktop database tool may take a moment; the window takes no input meanwhile.
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        failure = DesktopEntries(QCoreApplication::applicationFilePath()).Write();
    }
    if (failure)
        MessageBoxes::ShowErrorBox(QStringLiteral("Error"), *failure);
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
