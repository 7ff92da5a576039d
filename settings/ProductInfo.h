#pragma once

#include <QString>
#include <QUrl>

// The product's fixed texts and addresses that the Help menu and the information windows use.
namespace ProductInfo {

// The product's web page, opened by the Help menu's web item, and that item's caption.
inline constexpr char ProductPageAddress[] = "https://brimlet.example/";
inline constexpr char WebItemCaption[] = "Brimlet on the Web";
// The maker's web page, opened by the logo in the About window.
inline constexpr char MakerPageAddress[] = "https://zudozazir.example/";
// The user's manual, in the folder that holds the executable.
inline constexpr char ManualFileName[] = "BrimletCEUsersManual.pdf";

QUrl ProductPageUrl();
QUrl MakerPageUrl();
// The manual in applicationDir (the executable's folder) as a local-file address: the folder,
// one "/" and the file name, whatever characters the folder's path holds.
QUrl ManualUrl(const QString &applicationDir);

// The licence agreement shown by the License window: a title line, a notice paragraph and ten
// numbered sections, separated by empty lines, one paragraph a line.
QString LicenseText();

} // namespace ProductInfo
