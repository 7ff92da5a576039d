#include "ProductInfo.h"

#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(ProductInfoTest, LicenseHasATitleANoticeAndTenNumberedSections)
{
    const QString text = ProductInfo::LicenseText();
    ASSERT_FALSE(text.isEmpty()) << "the built-in licence text is missing";
    EXPECT_FALSE(text.contains(u'\r'));

    // Paragraphs are single lines separated by one empty line, so that the window wraps them.
    const QStringList paragraphs = text.trimmed().split(QStringLiteral("\n\n"));
    ASSERT_EQ(paragraphs.size(), 12);
    EXPECT_EQ(
        paragraphs[0], QStringLiteral("BRIMLET ZUDOZAZIR EDITION END-USER LICENSE AGREEMENT"));
    for (qsizetype i = 0; i < paragraphs.size(); ++i)
        EXPECT_FALSE(paragraphs[i].contains(u'\n')) << "paragraph " << i << " is broken into lines";
    EXPECT_FALSE(paragraphs[1].front().isDigit());
    for (int section = 1; section <= 10; ++section)
        EXPECT_TRUE(paragraphs[section + 1].startsWith(QStringLiteral("%1. ").arg(section)))
            << qPrintable(paragraphs[section + 1].left(40));
}

TEST(ProductInfoTest, ManualAddressKeepsTheFolderWhole)
{
    for (const char *folder : { "/usr/lib/brimlet", "/opt/My Programs/brimlet",
             "/opt/brimlet #2/100%/what?", "/home/jörg/brimlet" }) {
        const QString dir = QString::fromUtf8(folder);
        const QUrl url = ProductInfo::ManualUrl(dir);
        EXPECT_TRUE(url.isLocalFile()) << folder;
        EXPECT_EQ(url.toLocalFile(), dir + QStringLiteral("/BrimletCEUsersManual.pdf")) << folder;
    }
}

} // namespace
