#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Hands a document or a web address to the program the user has chosen for it (the desktop's
// PDF viewer, the web browser). When that cannot be done (the file is missing, or the desktop
// has no program to hand it to), a message box gives the path or the address, so that the user
// can open it by hand. Tests put a recorder in place of the desktop.
namespace DocumentOpener {

// what names the document in the message: "the user's manual", "the web page".
void Open(const QUrl &url, const QString &what);

// Receives every address instead of the desktop and tells whether it was opened; an empty
// opener restores the desktop.
using Opener = std::function<bool(const QUrl &url)>;
void SetOpener(Opener opener);

} // namespace DocumentOpener
