#include "SettingsList.h"

#include "DesktopEntries.h"
#include "Exception.h"
#include "FileNames.h"
#include "SettingsFolder.h"
#include "SettingsTestSupport.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList Lines(std::initializer_list<const char *> lines)
{
    QStringList list;
    for (const char *line : lines)
        list.append(QString::fromUtf8(line));
    return list;
}

TEST(SettingsListTest, LooksNamesUpByTheTextBeforeTheFirstEquals)
{
    const struct
    {
        const char *what;
        QStringList lines;
        const char *name;
        bool found;
        const char *value;
    } cases[] = {
        { "plain", Lines({ "Left=5", "Top=10" }), "Top", true, "10" },
        { "letter case ignored", Lines({ "height=300" }), "Height", true, "300" },
        { "space before = is part of the name", Lines({ "Height =300" }), "Height", false, "" },
        { "...and found with it", Lines({ "Height =300" }), "Height ", true, "300" },
        { "value untrimmed", Lines({ "Top= 10 " }), "Top", true, " 10 " },
        { "value holds =", Lines({ "MRU0=/data/a=b.x12" }), "MRU0", true, "/data/a=b.x12" },
        { "first line wins", Lines({ "Top=1", "TOP=2" }), "Top", true, "1" },
        { "line without = has no name", Lines({ "Top", "Top10" }), "Top", false, "" },
        { "empty value is still a line", Lines({ "MRU0=" }), "MRU0", true, "" },
        { "prefix is not the name", Lines({ "MRU10=x" }), "MRU1", false, "" },
        { "non-ASCII case folding", Lines({ "ÄRGER=1" }), "ärger", true, "1" },
    };
    for (const auto &c : cases) {
        const TSettingsList list(c.lines);
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(list.Contains(name), c.found) << c.what;
        EXPECT_EQ(list.Value(name), QString::fromUtf8(c.value)) << c.what;
    }
}

TEST(SettingsListTest, IntegerReadingLeavesTheTargetAloneWhenUnusable)
{
    const TSettingsList list(Lines({ "Top=-40", "Left=12abc", "Height=", "Width=99999999999",
        "SearchTop=  7", "SearchLeft=$10" }));
    const struct
    {
        const char *name;
        bool set;
        qint32 result;
    } cases[] = {
        { "Top", true, -40 },
        { "Left", false, 1234 },
        { "Height", false, 1234 },
        { "Width", false, 1234 },
        { "Absent", false, 1234 },
        { "SearchTop", true, 7 },
        { "SearchLeft", true, 16 },
    };
    for (const auto &c : cases) {
        qint32 target = 1234;
        EXPECT_EQ(list.ReadInteger(QString::fromLatin1(c.name), target), c.set) << c.name;
        EXPECT_EQ(target, c.result) << c.name;
    }
}

TEST(SettingsListTest, SettingReplacesTheFirstLineAppendsOrRemoves)
{
    const struct
    {
        const char *what;
        QStringList before;
        const char *name;
        const char *value;
        QStringList after;
    } cases[] = {
        { "replaces the first in place, spelled as set", Lines({ "A=1", "top=2", "Top=3" }), "Top",
            "9", Lines({ "A=1", "Top=9", "Top=3" }) },
        { "appends when absent", Lines({ "A=1" }), "Top", "9", Lines({ "A=1", "Top=9" }) },
        { "a name with a space is another name", Lines({ "Top =1" }), "Top", "2",
            Lines({ "Top =1", "Top=2" }) },
        { "empty removes the first only", Lines({ "top=2", "B=1", "Top=3" }), "Top", "",
            Lines({ "B=1", "Top=3" }) },
        { "empty with none does nothing", Lines({ "A=1", "Top" }), "Top", "",
            Lines({ "A=1", "Top" }) },
    };
    for (const auto &c : cases) {
        TSettingsList list(c.before);
        list.SetValue(QString::fromUtf8(c.name), QString::fromUtf8(c.value));
        EXPECT_EQ(list.Lines(), c.after) << c.what;
    }
}

TEST(SettingsFolderTest, FilesLiveDirectlyInTheUsersXdgFolders)
{
    // The test environment points both variables at private folders.
    EXPECT_EQ(SettingsFolder::FilePath(SettingsFolder::Path()),
        QFile::decodeName(qgetenv("XDG_CONFIG_HOME")) + QStringLiteral("/Brimlet.ini"));
    EXPECT_EQ(DesktopEntries::DefaultDataHome(), QFile::decodeName(qgetenv("XDG_DATA_HOME")));
}

class SettingsFileTest : public testing::Test
{
protected:
    ScratchFolder folder;
    const QString path = folder.File(QStringLiteral("Brimlet.ini"));
};

TEST_F(SettingsFileTest, RoundTripsThroughCrLfUtf8WithoutByteOrderMark)
{
    TSettingsList saved(Lines({ "Top=-12", "MRU0=/data/Größe/a=b.x12", "SearchHistory1=ST*850" }));
    saved.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path),
        QByteArray("Top=-12\r\nMRU0=/data/Gr\xC3\xB6\xC3\x9F"
                   "e/a=b.x12\r\nSearchHistory1=ST*850\r\n"));

    TSettingsList loaded(Lines({ "Stale=1" }));
    ASSERT_TRUE(loaded.LoadFromFile(path));
    EXPECT_EQ(loaded.Lines(), saved.Lines());
}

// A recent file whose name is not UTF-8 (here Latin-1) keeps its bytes through a load and a
// save, and shows with a replacement character.
TEST_F(SettingsFileTest, NamesThatAreNotUtf8KeepTheirBytes)
{
    const QByteArray bytes = "MRU0=/data/caf\xE9.x12\r\nMRU1=/data/Gr\xC3\xB6\xC3\x9F"
                             "e.x12\r\n";
    WriteBytes(path, bytes);
    TSettingsList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(FileNames::Encode(list.Value(u"MRU0")), QByteArray("/data/caf\xE9.x12"));
    EXPECT_EQ(FileNames::Display(list.Value(u"MRU0")), QStringLiteral("/data/caf\uFFFD.x12"));
    EXPECT_EQ(list.Value(u"MRU1"), QStringLiteral("/data/Gr\u00F6\u00DFe.x12"));
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), bytes);
}

TEST_F(SettingsFileTest, ReadsLinesEndedAnyWayAndIgnoresAByteOrderMark)
{
    WriteBytes(path, "\xEF\xBB\xBFTop=1\nLeft=2\rHeight=3\r\nWidth=4");
    TSettingsList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Lines(), Lines({ "Top=1", "Left=2", "Height=3", "Width=4" }));
    EXPECT_EQ(list.Value(u"Top"), QStringLiteral("1"));
}

TEST_F(SettingsFileTest, NoFileLeavesTheListAsItWas)
{
    TSettingsList list(Lines({ "Top=1" }));
    EXPECT_FALSE(list.LoadFromFile(path));
    EXPECT_EQ(list.Lines(), Lines({ "Top=1" }));
}

TEST_F(SettingsFileTest, FileThatCannotBeReadGivesTheOpenMessage)
{
    // A folder in the file's place cannot be read as a file, whoever runs the test.
    ASSERT_TRUE(QDir().mkpath(path));
    TSettingsList list;
    try {
        list.LoadFromFile(path);
        FAIL() << "no error raised";
    } catch (const Exception &e) {
        const QString start = QStringLiteral("Cannot open file \"%1\". ").arg(path);
        EXPECT_TRUE(e.Message().startsWith(start)) << qPrintable(e.Message());
        EXPECT_GT(e.Message().size(), start.size()) << "the system's reason is missing";
    }
}

TEST_F(SettingsFileTest, SaveCreatesMissingFolders)
{
    const QString nested = folder.File(QStringLiteral("new/config/Brimlet.ini"));
    TSettingsList(Lines({ "Top=1" })).SaveToFile(nested);
    EXPECT_EQ(ReadBytes(nested), QByteArray("Top=1\r\n"));
}

TEST_F(SettingsFileTest, SaveIntoAFolderThatCannotBeMadeGivesTheCreateMessage)
{
    // The "folder" is a regular file, so nothing can be created below it, even by root.
    WriteBytes(folder.File(QStringLiteral("config")), "not a folder");
    const QString blocked = folder.File(QStringLiteral("config/Brimlet.ini"));
    try {
        TSettingsList(Lines({ "Top=1" })).SaveToFile(blocked);
        FAIL() << "no error raised";
    } catch (const Exception &e) {
        EXPECT_EQ(
            e.Message(), QStringLiteral("Cannot create file \"%1\". Not a directory").arg(blocked));
    }
}

TEST_F(SettingsFileTest, FailedSaveLeavesTheOldFileWholeAndNothingBeside)
{
    WriteBytes(path, "Top=1\r\n");
    TSettingsList list;
    for (int i = 1; i <= 20; ++i)
        list.SetValue(QStringLiteral("SearchHistory%1").arg(i), QStringLiteral("text %1").arg(i));

    QString message;
    {
        const FileSizeLimit limit(64); // the new content is longer: the disk "fills up" midway
        try {
            list.SaveToFile(path);
        } catch (const Exception &e) {
            message = e.Message();
        }
    }
    EXPECT_EQ(message, QStringLiteral("Cannot create file \"%1\". File too large").arg(path));
    EXPECT_EQ(ReadBytes(path), QByteArray("Top=1\r\n"));
    EXPECT_EQ(folder.Entries(), QStringList { QStringLiteral("Brimlet.ini") });
}

// A folder the user may not write, as a file manager's "read-only" makes it: the save fails with
// the create message and the old file stays whole. Root may write anywhere, so as root the save
// runs in a child process with the rights of the "nobody" user.
TEST_F(SettingsFileTest, ReadOnlyFolderKeepsTheOldFile)
{
    WriteBytes(path, "Top=1\r\n");
    ASSERT_TRUE(QFile::setPermissions(folder.Path(),
        QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther
            | QFile::ExeOther));
    const auto save = [&] {
        try {
            TSettingsList(Lines({ "Top=2", "Left=3" })).SaveToFile(path);
        } catch (const Exception &e) {
            return e.Message();
        }
        return QString();
    };
    QString message;
    if (geteuid() != 0) {
        message = save();
    } else {
        // The folders of this test run must let the child through; nothing above them changes.
        const QString runRoot = QFileInfo(TestEnvironment::TempFolder()).path();
        for (QString dir = folder.Path(); dir.startsWith(runRoot); dir = QFileInfo(dir).path()) {
            struct stat info = {};
            const QByteArray name = QFile::encodeName(dir);
            if (stat(name.constData(), &info) == 0)
                chmod(name.constData(), info.st_mode | S_IXGRP | S_IXOTH);
        }
        int pipeFds[2];
        ASSERT_EQ(pipe(pipeFds), 0);
        const pid_t child = fork();
        if (child == 0) {
            close(pipeFds[0]);
            const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
            const QByteArray text = dropped ? save().toUtf8() : QByteArray("cannot drop rights");
            const ssize_t written = write(pipeFds[1], text.constData(), size_t(text.size()));
            _exit(written == text.size() ? 0 : 1);
        }
        close(pipeFds[1]);
        QByteArray text;
        char buffer[512];
        for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;)
            text.append(buffer, n);
        close(pipeFds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        message = QString::fromUtf8(text);
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("Cannot create file \"%1\". ").arg(path)))
        << qPrintable(message);
    EXPECT_EQ(ReadBytes(path), QByteArray("Top=1\r\n"));
    EXPECT_EQ(folder.Entries(), QStringList { QStringLiteral("Brimlet.ini") });
    QFile::setPermissions(folder.Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace
