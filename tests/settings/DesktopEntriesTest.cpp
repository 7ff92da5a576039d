#include "DesktopEntries.h"

#include "SettingsTestSupport.h"
#include "TestEnvironment.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QXmlStreamReader>

namespace {

TEST(DesktopEntriesTest, QuotesTheProgramForExecAndReadsItBack)
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
    for (const auto &c : cases) {
        const QString path = QString::fromUtf8(c.path);
        const QString value = DesktopEntries::ExecProgram(path);
        EXPECT_EQ(value, QString::fromUtf8(c.value)) << c.path;
        EXPECT_EQ(DesktopEntries::ProgramOfExec(value + QLatin1String(" -s %f")), path) << c.path;
    }
    // Packages name their program bare.
    EXPECT_EQ(DesktopEntries::ProgramOfExec(QStringLiteral("brimlet %f")), "brimlet");
}

// The relative paths of every file below folder.
QStringList FilesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator walk(
        folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (walk.hasNext())
        files.append(QDir(folder).relativeFilePath(walk.next()));
    files.sort();
    return files;
}

QByteArray OutputOf(const QString &program, const QStringList &arguments,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(30000);
    return process.readAllStandardOutput() + process.readAllStandardError();
}

class DesktopEntriesWriteTest : public testing::Test
{
protected:
    // By default no desktop tool is found: only what a test puts in tools/ runs.
    void SetUp() override
    {
        qputenv("PATH", QFile::encodeName(tools.Path()));
        entries.SetToolTimeout(5000);
        // A stand-in for the program, saying what it was started with.
        QDir().mkpath(QFileInfo(program).path());
        WriteBytes(program,
            "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$BRIMLET_ARGS.new\"\n"
            "mv \"$BRIMLET_ARGS.new\" \"$BRIMLET_ARGS\"\n");
        QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
    }
    void TearDown() override { qputenv("PATH", savedPath); }

    void UseSystemTools() { qputenv("PATH", savedPath); }
    // Puts a stand-in for a desktop tool in tools/, running script.
    void FakeTool(const char *name, const QByteArray &script)
    {
        const QString tool = tools.File(QLatin1String(name));
        WriteBytes(tool, "#!/bin/sh\n" + script + "\n");
        QFile::setPermissions(tool, QFile::permissions(tool) | QFile::ExeOwner);
    }
    QString Home(const char *relative) const { return home.File(QLatin1String(relative)); }
    // Writes a file of the test's own, its folders too.
    static void Put(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).path());
        WriteBytes(path, bytes);
    }
    // What the stand-in program was last started with, one argument a line; waits up to
    // seconds for it.
    QByteArray ProgramArguments(int seconds = 0)
    {
        const QDeadlineTimer deadline(seconds * 1000);
        while (!QFile::exists(argsFile) && !deadline.hasExpired())
            QThread::msleep(20);
        return ReadBytes(argsFile);
    }

    const QByteArray savedPath = qgetenv("PATH");
    ScratchFolder home;
    ScratchFolder system;
    ScratchFolder tools;
    ScratchFolder work;
    // Every character that the Exec and shell quoting must take care of.
    const QString program = work.File(QStringLiteral("Brimlet \"CE\" $v 100%f it's/brimlet"));
    const QString argsFile = work.File(QStringLiteral("args"));
    DesktopEntries entries { program, home.Path(), { system.Path() } };
};

TEST_F(DesktopEntriesWriteTest, PutsEachFileWhereItsDesktopLooksForIt)
{
    ASSERT_EQ(entries.Write(), std::nullopt);

    const QString exec = DesktopEntries::ExecProgram(program);
    const struct
    {
        const char *path;
        QString lines; // each of them a line of the file
        bool executable;
    } expected[] = {
        { "applications/brimlet.desktop",
            "Type=Application\nExec=" + exec + " %f\nMimeType=application/edi-x12;\n", false },
        { "kio/servicemenus/brimlet-open.desktop",
            "MimeType=all/allfiles;\nName=Open With Brimlet\nExec=" + exec + " %f\n", true },
        { "kio/servicemenus/brimlet-search.desktop",
            "MimeType=inode/directory;\nName=Search With Brimlet...\nExec=" + exec + " -s %f\n",
            true },
        { "mime/packages/brimlet-x12.xml", "<mime-type type=\"application/edi-x12\">", false },
        { "nautilus/scripts/Open With Brimlet", "#!/bin/sh\n", true },
        { "nautilus/scripts/Search With Brimlet...", "#!/bin/sh\n", true },
    };
    QStringList names;
    for (const auto &file : expected) {
        names.append(QLatin1String(file.path));
        QStringList written;
        for (const QString &line :
            QString::fromUtf8(ReadBytes(home.File(names.last()))).split(u'\n'))
            written.append(line.trimmed());
        for (const QString &line : file.lines.split(u'\n', Qt::SkipEmptyParts))
            EXPECT_TRUE(written.contains(line)) << file.path << ": " << qPrintable(line);
        EXPECT_EQ(
            bool(QFile::permissions(home.File(names.last())) & QFile::ExeOther), file.executable)
            << file.path;
    }
    EXPECT_EQ(FilesBelow(home.Path()), names);

    // No entry takes over a type that other programs open.
    for (const DesktopEntries::File &file : entries.Files()) {
        if (!file.contents.contains("\nType=Application\n"))
            continue;
        for (const char *taken : { "text/plain", "application/octet-stream", "inode/directory" })
            EXPECT_FALSE(file.contents.contains(taken)) << qPrintable(file.path) << ": " << taken;
    }
}

TEST_F(DesktopEntriesWriteTest, ApplicationEntryPassesTheValidatorWithoutHints)
{
    UseSystemTools();
    const QString validator
        = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    ASSERT_EQ(entries.Write(), std::nullopt);
    const QByteArray output = OutputOf(validator, { Home("applications/brimlet.desktop") });
    EXPECT_TRUE(output.isEmpty()) << output.constData();
}

TEST_F(DesktopEntriesWriteTest, ASecondRunReplacesEachFileWhole)
{
    ASSERT_EQ(entries.Write(), std::nullopt);
    QMap<QString, QByteArray> first;
    for (const QString &name : FilesBelow(home.Path()))
        first.insert(name, ReadBytes(home.File(name)));
    WriteBytes(Home("applications/brimlet.desktop"), QByteArray(4096, 'x')); // longer
    QFile::setPermissions(Home("nautilus/scripts/Open With Brimlet"), QFile::ReadOwner);

    EXPECT_EQ(entries.Write(), std::nullopt);
    QMap<QString, QByteArray> second;
    for (const QString &name : FilesBelow(home.Path()))
        second.insert(name, ReadBytes(home.File(name)));
    EXPECT_EQ(second, first);
    EXPECT_TRUE(QFile::permissions(Home("nautilus/scripts/Open With Brimlet")) & QFile::ExeOwner);
}

// GNOME Files runs a script in the folder shown with the selection as arguments named from
// there, and for items it has no local name for, their paths in an environment variable.
TEST_F(DesktopEntriesWriteTest, FilesScriptsStartTheProgramOnTheSelection)
{
    ASSERT_EQ(entries.Write(), std::nullopt);
    const QString shown = QDir(work.File(QStringLiteral("shown"))).absolutePath();
    QDir().mkpath(shown + QLatin1String("/sub dir"));
    WriteBytes(shown + QLatin1String("/a b.x12"), "ISA");
    const QString where = QDir(shown).canonicalPath();

    const struct
    {
        const char *script;
        QStringList arguments;
        const char *selectedPaths;
        QString started; // one argument a line; empty when the program is not started
    } cases[] = {
        { "Open With Brimlet", { "a b.x12" }, "", where + "/a b.x12\n" },
        { "Open With Brimlet", { "/srv/edi/po.x12", "second.x12" }, "", "/srv/edi/po.x12\n" },
        { "Open With Brimlet", { "sftp://host/po.x12" }, "/run/gvfs/po.x12\n/run/gvfs/2\n",
            "/run/gvfs/po.x12\n" },
        { "Open With Brimlet", {}, "", "" },
        { "Search With Brimlet...", { "sub dir" }, "", "-s\n" + where + "/sub dir\n" },
        { "Search With Brimlet...", {}, "", "-s\n" + where + "\n" },
        { "Search With Brimlet...", { "a b.x12" }, "", "-s\n" + where + "\n" },
        { "Search With Brimlet...", { "/po.x12" }, "", "-s\n/\n" },
    };
    for (const auto &c : cases) {
        QFile::remove(argsFile);
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("BRIMLET_ARGS"), argsFile);
        environment.insert(QStringLiteral("PATH"), QFile::decodeName(savedPath));
        environment.insert(
            QStringLiteral("NAUTILUS_SCRIPT_SELECTED_FILE_PATHS"), QLatin1String(c.selectedPaths));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(shown);
        process.start(home.File(QLatin1String("nautilus/scripts/") + c.script), c.arguments);
        ASSERT_TRUE(process.waitForFinished(30000)) << c.script;
        EXPECT_EQ(process.readAllStandardError(), "") << c.script;
        EXPECT_EQ(QString::fromUtf8(ProgramArguments()), c.started)
            << c.script << " " << qPrintable(c.arguments.join(u' '));
    }
}

// The package's own application entry, as an installed Brimlet has it, and whether it takes the
// place of the user's.
TEST_F(DesktopEntriesWriteTest, LeavesTheApplicationEntryToAPackageThatStartsTheSameProgram)
{
    const QString link = tools.File(QStringLiteral("brimlet"));
    QFile::link(program, link);
    FakeTool("other-viewer", "exit 0");
    const struct
    {
        QByteArray entry; // none: the package is not installed
        bool packaged;
    } cases[] = {
        { "Type=Application\nExec=brimlet %f\nMimeType=application/edi-x12;\n", true },
        { "Type=Application\nExec=" + DesktopEntries::ExecProgram(link).toUtf8()
                + " %f\nMimeType=text/plain;application/edi-x12;\n",
            true },
        { "Type=Application\nExec=other-viewer %f\nMimeType=application/edi-x12;\n", false },
        { "Type=Application\nExec=not-installed %f\nMimeType=application/edi-x12;\n", false },
        { "Type=Application\nExec=brimlet %f\nMimeType=text/plain;\n", false },
        { "Type=Application\nExec=brimlet %f\nMimeType=application/edi-x12;\nHidden=true\n",
            false },
        { {}, false },
    };
    const QString packaged = system.File(QStringLiteral("applications/brimlet.desktop"));
    const QString user = Home("applications/brimlet.desktop");
    for (const auto &c : cases) {
        QFile::remove(packaged);
        if (!c.entry.isEmpty())
            Put(packaged, "# the package's\n[Desktop Entry]\n" + c.entry);
        Put(user, "[Desktop Entry]\nMimeType=text/plain;\n"); // an earlier run's
        EXPECT_EQ(entries.UsesPackagedEntry(), c.packaged) << c.entry.constData();
        ASSERT_EQ(entries.Write(), std::nullopt) << c.entry.constData();
        EXPECT_EQ(QFile::exists(user), !c.packaged) << c.entry.constData();
        EXPECT_EQ(entries.Files().size(), c.packaged ? 5 : 6) << c.entry.constData();
    }
}

TEST_F(DesktopEntriesWriteTest, RemoveDeletesWhatWasWrittenAndNothingElse)
{
    // The neighbours, and the files an earlier version wrote, whose types took over folders.
    const char *neighbours[] = { "applications/other.desktop", "kio/servicemenus/other.desktop",
        "mime/packages/other.xml", "nautilus/scripts/Other Script" };
    for (const char *name : neighbours)
        Put(Home(name), name);
    for (const char *retired :
        { "applications/brimlet-search.desktop", "kio/servicemenus/brimlet.desktop" })
        Put(Home(retired), "[Desktop Entry]\nMimeType=inode/directory;\n");

    ASSERT_EQ(entries.Write(), std::nullopt);
    EXPECT_FALSE(QFile::exists(Home("applications/brimlet-search.desktop")));
    EXPECT_FALSE(QFile::exists(Home("kio/servicemenus/brimlet.desktop")));
    for (const char *name : neighbours)
        EXPECT_EQ(ReadBytes(Home(name)), name);

    const QStringList kept(std::begin(neighbours), std::end(neighbours));
    EXPECT_EQ(entries.Remove(), std::nullopt);
    EXPECT_EQ(FilesBelow(home.Path()), kept);
    EXPECT_EQ(entries.Remove(), std::nullopt) << "nothing left to remove is no error";
}

TEST_F(DesktopEntriesWriteTest, RemoveGoesOnPastAFileThatStays)
{
    ASSERT_EQ(entries.Write(), std::nullopt);
    // A folder in a script's place: no one can delete it as a file, root included.
    const QString stays = Home("kio/servicemenus/brimlet-open.desktop");
    QFile::remove(stays);
    QDir().mkpath(stays + QLatin1String("/inside"));

    const std::optional<QString> message = entries.Remove();
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->startsWith(
        QStringLiteral("There was an error while Brimlet attempted to modify the desktop context "
                       "menus.  The file \"%1\" could not be deleted: ")
            .arg(stays)))
        << qPrintable(*message);
    EXPECT_EQ(FilesBelow(home.Path()), QStringList());
}

TEST_F(DesktopEntriesWriteTest, AFolderThatCannotBeMadeStopsAtTheFirstFile)
{
    // A regular file where the data folder should be: nothing below it can be created, even by
    // root.
    const QString blocked = home.File(QStringLiteral("data"));
    WriteBytes(blocked, "not a folder");
    const DesktopEntries failing(program, blocked, {});
    EXPECT_EQ(failing.Write(),
        QStringLiteral("There was an error while Brimlet attempted to modify the desktop context "
                       "menus.  The file \"%1/mime/packages/brimlet-x12.xml\" could not be "
                       "written: Not a directory")
            .arg(blocked));
}

TEST_F(DesktopEntriesWriteTest, ALaterFailureKeepsTheEarlierFilesAndRefreshesTheirDatabases)
{
    const QByteArray ran = QFile::encodeName(tools.File(QStringLiteral("ran")));
    FakeTool("update-mime-database", "echo mime \"$@\" >> '" + ran + "'");
    FakeTool("update-desktop-database", "echo desktop \"$@\" >> '" + ran + "'");
    WriteBytes(Home("kio"), "not a folder");

    const std::optional<QString> message = entries.Write();
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->contains(
        QStringLiteral("\"%1\"").arg(Home("kio/servicemenus/brimlet-open.desktop"))))
        << qPrintable(*message);
    EXPECT_EQ(FilesBelow(home.Path()),
        QStringList({ "applications/brimlet.desktop", "kio", "mime/packages/brimlet-x12.xml" }));
    EXPECT_EQ(ReadBytes(QFile::decodeName(ran)),
        "mime " + QFile::encodeName(Home("mime")) + "\ndesktop "
            + QFile::encodeName(Home("applications")) + '\n');
}

TEST_F(DesktopEntriesWriteTest, AHangingDatabaseToolIsStopped)
{
    FakeTool("update-mime-database", "exec /bin/sleep 120");
    FakeTool("update-desktop-database", "exec /bin/sleep 120");
    entries.SetToolTimeout(200);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(entries.Write(), std::nullopt);
    EXPECT_EQ(entries.Remove(), std::nullopt);
    EXPECT_LT(clock.elapsed(), 60000) << "the tools were waited for to end by themselves";
}

TEST_F(DesktopEntriesWriteTest, TypeDefinitionIsWellFormed)
{
    ASSERT_EQ(entries.Write(), std::nullopt);
    const QString path = Home("mime/packages/brimlet-x12.xml");
    QXmlStreamReader reader(ReadBytes(path));
    ASSERT_TRUE(reader.readNextStartElement());
    EXPECT_EQ(reader.name().toString(), QStringLiteral("mime-info"));
    EXPECT_EQ(reader.namespaceUri().toString(),
        QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    while (!reader.atEnd())
        reader.readNext();
    EXPECT_FALSE(reader.hasError()) << qPrintable(reader.errorString());

    UseSystemTools();
    const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
    if (xmllint.isEmpty())
        GTEST_SKIP() << "xmllint is not installed";
    EXPECT_EQ(OutputOf(xmllint, { QStringLiteral("--noout"), path }), "");
}

// GLib's view of the desktop, in the test's data folder alone: the types of files, the programs
// for a type, and what starting the application entry passes to the program.
class DesktopEntriesGioTest : public DesktopEntriesWriteTest
{
protected:
    void SetUp() override
    {
        DesktopEntriesWriteTest::SetUp();
        UseSystemTools();
        gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
        for (const char *tool : { "update-mime-database", "update-desktop-database" })
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                gio.clear();
        if (gio.isEmpty())
            GTEST_SKIP() << "gio, update-mime-database or update-desktop-database is missing";
        desktop.insert(QStringLiteral("XDG_DATA_HOME"), home.Path());
        desktop.insert(QStringLiteral("XDG_DATA_DIRS"), system.Path());
        desktop.insert(QStringLiteral("BRIMLET_ARGS"), argsFile);
        QDir().mkpath(QFileInfo(glibProgram).path());
        QFile::copy(program, glibProgram);
    }
    QByteArray Gio(const QStringList &arguments) { return OutputOf(gio, arguments, desktop); }
    QByteArray TypeOf(const QString &path)
    {
        const QByteArray key = "standard::content-type: ";
        const QByteArray output = Gio({ "info", "-a", "standard::content-type", path });
        const qsizetype at = output.indexOf(key);
        return at < 0 ? output : output.mid(at + key.size()).split('\n').first();
    }

    QString gio;
    QProcessEnvironment desktop = QProcessEnvironment::systemEnvironment();
    // GLib looks for the program before it undoes "%%", so it finds none whose path holds a
    // percent sign; every other character the quoting takes care of is here.
    const QString glibProgram
        = work.File(QStringLiteral("odd \"CE\" $v `x` it's back\\slash/brimlet"));
    const DesktopEntries glibEntries { glibProgram, home.Path(), { system.Path() } };
};

TEST_F(DesktopEntriesGioTest, X12FilesAreKnownAndOpenWithBrimletUntilRemoved)
{
    const QByteArray isa = "ISA*00*          *00*          *ZZ*SENDER~";
    const struct
    {
        const char *name;
        QByteArray bytes;
    } files[] = { { "po.x12", "GS*PO~" }, { "PO.EDI", "GS*PO~" }, { "no-extension", isa },
        { "marked", "\xef\xbb\xbf" + isa } };
    ASSERT_EQ(glibEntries.Write(), std::nullopt);
    for (const auto &file : files) {
        const QString path = work.File(QLatin1String(file.name));
        WriteBytes(path, file.bytes);
        EXPECT_EQ(TypeOf(path), "application/edi-x12") << file.name;
    }
    WriteBytes(work.File(QStringLiteral("notes")), "Isaac's notes\n");
    EXPECT_EQ(TypeOf(work.File(QStringLiteral("notes"))), "text/plain");

    EXPECT_TRUE(Gio({ "mime", "application/edi-x12" }).contains("brimlet.desktop"));
    for (const char *type : { "text/plain", "inode/directory", "application/octet-stream" })
        EXPECT_FALSE(Gio({ "mime", type }).contains("brimlet")) << type;

    ASSERT_EQ(glibEntries.Remove(), std::nullopt);
    EXPECT_EQ(TypeOf(work.File(QStringLiteral("po.x12"))), "text/plain");
    EXPECT_FALSE(Gio({ "mime", "application/edi-x12" }).contains("brimlet"));
}

TEST_F(DesktopEntriesGioTest, StartingTheEntryPassesTheFileAsTheOneArgument)
{
    ASSERT_EQ(glibEntries.Write(), std::nullopt);

    const QString file = work.File(QStringLiteral("a $b.x12"));
    Gio({ "launch", Home("applications/brimlet.desktop"), file });
    EXPECT_EQ(ProgramArguments(20), QFile::encodeName(file) + '\n');
}

} // namespace
