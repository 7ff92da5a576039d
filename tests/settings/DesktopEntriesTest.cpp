#include "DesktopEntries.h"

#include "SettingsTestSupport.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace {

TEST(DesktopEntriesTest, QuotesTheProgramForExecAndEscapesItAsAString)
{
    const struct
    {
        const char *path;
        const char *value; // as it stands in the file
    } cases[] = {
        { "/usr/lib/brimlet/brimlet", R"("/usr/lib/brimlet/brimlet")" },
        { "/opt/My Apps/brimlet", R"("/opt/My Apps/brimlet")" },
        { "/opt/\"CE\"/brimlet", R"("/opt/\\"CE\\"/brimlet")" },
        { "/opt/$HOME/brimlet", R"("/opt/\\$HOME/brimlet")" },
        { "/opt/`id`/brimlet", R"("/opt/\\`id\\`/brimlet")" },
        { "/opt/back\\slash/brimlet", R"("/opt/back\\\\slash/brimlet")" },
        { "/opt/100%f/brimlet", R"("/opt/100%%f/brimlet")" },
        { "/opt/it's/brimlet", R"("/opt/it's/brimlet")" },
        { "/opt/new\nline/brimlet", R"("/opt/new\nline/brimlet")" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(
            DesktopEntries::ExecProgram(QString::fromUtf8(c.path)), QString::fromUtf8(c.value))
            << c.path;
}

class DesktopEntriesWriteTest : public testing::Test
{
protected:
    void SetUp() override { entries.SetToolTimeout(2000); }

    // Puts a stand-in update-desktop-database running script at the front of PATH.
    void FakeTool(const QByteArray &script)
    {
        const QString tool = tools.File(QStringLiteral("update-desktop-database"));
        WriteBytes(tool, "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(tools.Path()) + ':' + savedPath);
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    const QByteArray savedPath = qgetenv("PATH");
    ScratchFolder home;
    ScratchFolder tools;
    const QString program = QStringLiteral("/opt/Brimlet \"CE\"/$version/brimlet");
    DesktopEntries entries { program, home.Path() };
};

TEST_F(DesktopEntriesWriteTest, WritesTheThreeEntriesForAnOddProgramPath)
{
    FakeTool("exit 0");
    EXPECT_EQ(entries.Write(), std::nullopt);

    const QString exec = QStringLiteral(R"("/opt/Brimlet \\"CE\\"/\\$version/brimlet")");
    EXPECT_EQ(entries.FilePaths(),
        (QStringList { home.File(QStringLiteral("applications/brimlet.desktop")),
            home.File(QStringLiteral("applications/brimlet-search.desktop")),
            home.File(QStringLiteral("kio/servicemenus/brimlet.desktop")) }));
    EXPECT_EQ(ReadBytes(entries.FilePaths()[0]),
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Brimlet\n"
        "Icon=brimlet\n"
        "Exec="
            + exec.toUtf8()
            + " %f\n"
              "MimeType=application/edi-x12;text/plain;application/octet-stream;\n"
              "Categories=Utility;Viewer;\n");
    const QString search = QString::fromUtf8(ReadBytes(entries.FilePaths()[1]));
    for (const QString &line :
        { QStringLiteral("\nName=Search With Brimlet...\n"),
            QStringLiteral("\nExec=%1 -s %f\n").arg(exec),
            QStringLiteral("\nMimeType=inode/directory;\n"), QStringLiteral("\nNoDisplay=true\n") })
        EXPECT_TRUE(search.contains(line)) << qPrintable(line);

    const QString menu = QString::fromUtf8(ReadBytes(entries.FilePaths()[2]));
    for (const QString &action :
        { QStringLiteral("\nName=Open With Brimlet\nIcon=brimlet\nExec=%1 %f\n").arg(exec),
            QStringLiteral("\nName=Search With Brimlet...\nIcon=brimlet\nExec=%1 -s %f\n")
                .arg(exec) })
        EXPECT_TRUE(menu.contains(action)) << qPrintable(action);
    EXPECT_TRUE(QFile::permissions(entries.FilePaths()[2]) & QFile::ExeOwner);
}

TEST_F(DesktopEntriesWriteTest, EntriesPassTheDesktopFileValidator)
{
    const QString validator
        = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    ASSERT_EQ(entries.Write(), std::nullopt);
    for (const QString &path : entries.FilePaths().first(2)) {
        QProcess process;
        process.start(validator, { path });
        ASSERT_TRUE(process.waitForFinished(30000));
        const QByteArray output = process.readAllStandardOutput() + process.readAllStandardError();
        EXPECT_EQ(process.exitCode(), 0) << output.constData();
        EXPECT_FALSE(output.contains("error")) << output.constData();
    }
}

TEST_F(DesktopEntriesWriteTest, ASecondRunReplacesEachFileWhole)
{
    ASSERT_EQ(entries.Write(), std::nullopt);
    QList<QByteArray> first;
    for (const QString &path : entries.FilePaths())
        first.append(ReadBytes(path));
    WriteBytes(entries.FilePaths()[0], QByteArray(4096, 'x')); // longer than the entry

    EXPECT_EQ(entries.Write(), std::nullopt);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(ReadBytes(entries.FilePaths()[i]), first[i]) << i;
    EXPECT_TRUE(QFile::permissions(entries.FilePaths()[2]) & QFile::ExeOwner);
}

TEST_F(DesktopEntriesWriteTest, AFolderThatCannotBeMadeStopsAtTheFirstFile)
{
    // A regular file where the data folder should be: nothing below it can be created, even by
    // root.
    const QString blocked = home.File(QStringLiteral("data"));
    WriteBytes(blocked, "not a folder");
    const DesktopEntries failing(program, blocked);
    EXPECT_EQ(failing.Write(),
        QStringLiteral("There was an error while Brimlet attempted to modify the desktop context "
                       "menus.  The file \"%1/applications/brimlet.desktop\" could not be written: "
                       "Not a directory")
            .arg(blocked));
}

TEST_F(DesktopEntriesWriteTest, ALaterFailureKeepsTheEarlierFilesAndUpdatesTheirDatabase)
{
    FakeTool("echo \"$@\" > '" + QFile::encodeName(tools.File(QStringLiteral("ran"))) + "'");
    WriteBytes(home.File(QStringLiteral("kio")), "not a folder");

    const std::optional<QString> message = entries.Write();
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->contains(QStringLiteral("\"%1\"").arg(entries.FilePaths()[2])))
        << qPrintable(*message);
    EXPECT_TRUE(QFile::exists(entries.FilePaths()[0]));
    EXPECT_TRUE(QFile::exists(entries.FilePaths()[1]));
    EXPECT_EQ(ReadBytes(tools.File(QStringLiteral("ran"))),
        QFile::encodeName(home.File(QStringLiteral("applications"))) + '\n');
}

TEST_F(DesktopEntriesWriteTest, AHangingDatabaseToolIsStopped)
{
    FakeTool("exec sleep 120");
    entries.SetToolTimeout(200);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(entries.Write(), std::nullopt);
    EXPECT_LT(clock.elapsed(), 60000) << "Write waited for the tool to end by itself";
    EXPECT_TRUE(QFile::exists(entries.FilePaths()[2]));
}

} // namespace
