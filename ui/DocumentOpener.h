#pragma once

#include <QUrl>

#include <functional>

// Hands a document or a web address to the program the user has chosen for it (the desktop's
// PDF viewer, the web browser). The outcome is not looked at: whatever goes wrong there, the
// desktop reports it, not Brimlet. Tests put a recorder in place of the desktop.
namespace DocumentOpener {

void Open(const QUrl &url);

// Receives every address instead of the desktop; an empty opener restores the desktop.
using Opener = std::function<void(const QUrl &url)>;
void SetOpener(Opener opener);

} // namespace DocumentOpener
