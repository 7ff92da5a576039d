#include "FolderListing.h"

#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QSet>
#include <QTemporaryDir>

namespace {

QSet<QString> Set(const QStringList &names)
{
    return QSet<QString>(names.begin(), names.end());
}

TEST(FolderListingTest, ListFolderSplitsThePatternIntoFolderAndMasks)
{
    QTemporaryDir dir;
    for (const char *name : { "a.x12", "b.EDI", "c.txt", ".hidden.x12" })
        WriteBytes(dir.filePath(QLatin1String(name)), "x");
    QDir(dir.path()).mkdir(QStringLiteral("sub.x12"));
    const QSet<QString> all = { "a.x12", "b.EDI", "c.txt", ".hidden.x12", "sub.x12" };

    const struct
    {
        const char *masks;
        QSet<QString> names;
    } cases[] = {
        { "*", all },
        { "*.X12;*.EDI", { "a.x12", "b.EDI", ".hidden.x12", "sub.x12" } },
        { "*.x12; *.edi", { "a.x12", ".hidden.x12", "sub.x12" } }, // " *.edi" matches nothing
        { "c.txt;", { "c.txt" } },
        { "x;;y", all }, // the empty mask matches every name
        { "", {} },
    };
    for (const auto &c : cases) {
        EXPECT_EQ(
            Set(FolderListing::ListFolder(dir.path() + u'/' + QLatin1String(c.masks))), c.names)
            << c.masks;
    }
    EXPECT_TRUE(FolderListing::ListFolder(dir.path() + "/missing/*").isEmpty());
}

TEST(FolderListingTest, EntriesTellFoldersFollowingLinks)
{
    QTemporaryDir dir;
    WriteBytes(dir.filePath("file"), "x");
    QDir(dir.path()).mkdir(QStringLiteral("folder"));
    ASSERT_TRUE(QFile::link(dir.filePath("folder"), dir.filePath("folder-link")));
    ASSERT_TRUE(QFile::link(dir.filePath("file"), dir.filePath("file-link")));
    ASSERT_TRUE(QFile::link(dir.filePath("gone"), dir.filePath("dangling")));

    QSet<QString> folders;
    QSet<QString> others;
    for (const FolderEntry &entry : FolderListing::Entries(dir.path() + u'/'))
        (entry.IsDirectory ? folders : others).insert(entry.Name);
    EXPECT_EQ(folders, QSet<QString>({ "folder", "folder-link" }));
    EXPECT_EQ(others, QSet<QString>({ "file", "file-link", "dangling" }));
}

TEST(FolderListingTest, RootFolderIsListedFromASlash)
{
    QStringList names;
    for (const FolderEntry &entry : FolderListing::Entries(QStringLiteral("/")))
        names.append(entry.Name);
    EXPECT_EQ(Set(names),
        Set(QDir(QStringLiteral("/"))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)));
    EXPECT_EQ(Set(FolderListing::ListFolder(QStringLiteral("/*"))), Set(names));
}

} // namespace
