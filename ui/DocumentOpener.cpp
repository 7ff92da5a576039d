#include "DocumentOpener.h"

#include <QDesktopServices>

namespace DocumentOpener {

namespace {

Opener &CurrentOpener()
{
    static Opener opener;
    return opener;
}

} // namespace

void Open(const QUrl &url)
{
    if (CurrentOpener()) {
        CurrentOpener()(url);
        return;
    }
    // A missing manual or no program for the address is the desktop's to report.
    QDesktopServices::openUrl(url);
}

void SetOpener(Opener opener)
{
    CurrentOpener() = std::move(opener);
}

} // namespace DocumentOpener
