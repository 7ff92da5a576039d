#include "DocumentOpener.h"

#include "MessageBoxes.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace DocumentOpener {

namespace {

Opener &CurrentOpener()
{
    static Opener opener;
    return opener;
}

} // namespace

void Open(const QUrl &url, const QString &what)
{
    const QString where
        = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    // The desktop would start a viewer that fails out of sight on a missing file.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        MessageBoxes::ShowErrorBox(MessageBoxes::ApplicationTitle(),
            QStringLiteral("Brimlet cannot find %1. It belongs here:\n%2").arg(what, where));
        return;
    }
    const bool opened = CurrentOpener() ? CurrentOpener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        MessageBoxes::ShowErrorBox(MessageBoxes::ApplicationTitle(),
            QStringLiteral("Brimlet could not open %1: the desktop has no program for it. "
                           "You can open it by hand:\n%2")
                .arg(what, where));
}

void SetOpener(Opener opener)
{
    CurrentOpener() = std::move(opener);
}

} // namespace DocumentOpener
