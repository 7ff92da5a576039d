#include "DesktopEntries.h"

#include "ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>

namespace {

const char MimeType[] = "application/edi-x12";

// File managers offer service menus and scripts only when they may be run, as any program.
constexpr QFileDevice::Permissions Executable = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::ExeOther;

QString Failure(const QString &path, const char *what, const QString &reason)
{
    return QStringLiteral("There was an error while Brimlet attempted to modify the desktop "
                          "context menus.  The file \"%1\" could not be %2: %3")
        .arg(path, QLatin1String(what), reason);
}

// Runs one of the desktop's cache tools on folder, so that a change takes effect at once;
// without it, it does when the desktop next rebuilds its caches. A tool that is not installed
// is skipped and one that does not finish in time is stopped: the files stand either way.
void RunTool(const char *name, const QString &folder, int timeout)
{
    const QString tool = QStandardPaths::findExecutable(QLatin1String(name));
    if (tool.isEmpty() || !QFileInfo(folder).isDir())
        return;
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(tool, { folder });
    if (process.waitForStarted(timeout) && !process.waitForFinished(timeout)) {
        process.kill();
        process.waitForFinished(timeout);
    }
}

// Deletes the file at path when there is one; returns the system's reason when it stays.
std::optional<QString> DeleteFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return std::nullopt;
    QFile file(path);
    if (file.remove())
        return std::nullopt;
    return file.errorString().isEmpty() ? QStringLiteral("Unknown error") : file.errorString();
}

// value escaped as a desktop-entry string.
QString EscapedString(const QString &value)
{
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            escaped += QLatin1String("\\\\");
            break;
        case u'\n':
            escaped += QLatin1String("\\n");
            break;
        case u'\t':
            escaped += QLatin1String("\\t");
            break;
        case u'\r':
            escaped += QLatin1String("\\r");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// The keys of the [Desktop Entry] group of the file at path, their values as they stand.
QHash<QString, QString> ReadEntryGroup(const QString &path)
{
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return keys;
    bool inGroup = false;
    for (const QByteArray &raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (inGroup && equals > 0 && !line.startsWith(u'#'))
            keys.insert(line.first(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

// The file type's definition, built into the program; the package ships the same file.
QByteArray MimeDefinition()
{
    QFile file(QStringLiteral(":/brimlet/brimlet-x12.xml"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// text as one word of a POSIX shell command.
QString ShellWord(QString text)
{
    return u'\'' + text.replace(u'\'', QLatin1String("'\\''")) + u'\'';
}

} // namespace

DesktopEntries::DesktopEntries(QString executable, QString dataHome, QStringList dataDirs)
    : executable_(std::move(executable))
    , dataHome_(std::move(dataHome))
    , dataDirs_(std::move(dataDirs))
{ }

QString DesktopEntries::DefaultDataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QStringList DesktopEntries::DefaultDataDirs()
{
    QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
    dirs.removeAll(DefaultDataHome());
    return dirs;
}

QString DesktopEntries::MimeFolder() const
{
    return dataHome_ + QLatin1String("/mime");
}

QString DesktopEntries::ApplicationsFolder() const
{
    return dataHome_ + QLatin1String("/applications");
}

QString DesktopEntries::ApplicationEntryPath() const
{
    return ApplicationsFolder() + QLatin1String("/brimlet.desktop");
}

QStringList DesktopEntries::RetiredPaths() const
{
    return { ApplicationsFolder() + QLatin1String("/brimlet-search.desktop"),
        dataHome_ + QLatin1String("/kio/servicemenus/brimlet.desktop") };
}

QList<DesktopEntries::File> DesktopEntries::Files() const
{
    QList<File> files { { MimeFolder() + QLatin1String("/packages/brimlet-x12.xml"),
        MimeDefinition() } };
    if (!UsesPackagedEntry())
        files.append({ ApplicationEntryPath(), ApplicationEntry() });

    // One service menu per action, so that each is offered only where it fits: all/allfiles
    // takes in files and not folders.
    const QString menus = dataHome_ + QLatin1String("/kio/servicemenus/");
    files.append({ menus + QLatin1String("brimlet-open.desktop"),
        ServiceMenu("OpenWithBrimlet", "Open With Brimlet", "all/allfiles;", ""), true });
    files.append({ menus + QLatin1String("brimlet-search.desktop"),
        ServiceMenu("SearchWithBrimlet", "Search With Brimlet...", "inode/directory;", "-s "),
        true });

    // GNOME Files lists its scripts by file name, on files and folders alike.
    const QString scripts = dataHome_ + QLatin1String("/nautilus/scripts/");
    files.append({ scripts + QLatin1String("Open With Brimlet"), FilesScript(false), true });
    files.append({ scripts + QLatin1String("Search With Brimlet..."), FilesScript(true), true });
    return files;
}

bool DesktopEntries::UsesPackagedEntry() const
{
    for (const QString &dir : dataDirs_) {
        const QString path = QDir(dir).filePath(QStringLiteral("applications/brimlet.desktop"));
        if (!QFileInfo::exists(path))
            continue;
        // The first one found is the one the desktop takes when the user has none.
        const QHash<QString, QString> entry = ReadEntryGroup(path);
        if (entry.value(QStringLiteral("Type")) != QLatin1String("Application")
            || entry.value(QStringLiteral("Hidden")) == QLatin1String("true")
            || !entry.value(QStringLiteral("MimeType"))
                    .split(u';')
                    .contains(QLatin1String(MimeType)))
            return false;
        QString program = ProgramOfExec(entry.value(QStringLiteral("Exec")));
        if (!program.contains(u'/'))
            program = QStandardPaths::findExecutable(program);
        // The package starts its program through a link; compare the files themselves.
        const QString ours = QFileInfo(executable_).canonicalFilePath();
        return !program.isEmpty() && !ours.isEmpty()
            && QFileInfo(program).canonicalFilePath() == ours;
    }
    return false;
}

std::optional<QString> DesktopEntries::Write() const
{
    std::optional<QString> failure;
    const QList<File> files = Files();
    for (qsizetype i = 0; i < files.size() && !failure; ++i) {
        const File &file = files[i];
        if (const std::optional<QString> reason = ReplaceFile(file.path, file.contents,
                file.executable ? std::optional(Executable) : std::nullopt))
            failure = Failure(file.path, "written", *reason);
        else if (i == 0)
            RunTool("update-mime-database", MimeFolder(), toolTimeout_);
    }

    QStringList stale = RetiredPaths();
    if (UsesPackagedEntry())
        stale.prepend(ApplicationEntryPath());
    for (qsizetype i = 0; i < stale.size() && !failure; ++i) {
        if (const std::optional<QString> reason = DeleteFile(stale[i]))
            failure = Failure(stale[i], "deleted", *reason);
    }

    // What was done stays, so it should take effect even when a later file failed.
    RunTool("update-desktop-database", ApplicationsFolder(), toolTimeout_);
    return failure;
}

std::optional<QString> DesktopEntries::Remove() const
{
    QStringList paths { ApplicationEntryPath() };
    for (const File &file : Files())
        paths.append(file.path);
    paths += RetiredPaths();
    paths.removeDuplicates();

    // Every file that can go goes, even after one that cannot.
    std::optional<QString> failure;
    for (const QString &path : paths) {
        const std::optional<QString> reason = DeleteFile(path);
        if (reason && !failure)
            failure = Failure(path, "deleted", *reason);
    }
    RunTool("update-mime-database", MimeFolder(), toolTimeout_);
    RunTool("update-desktop-database", ApplicationsFolder(), toolTimeout_);
    return failure;
}

QByteArray DesktopEntries::ApplicationEntry() const
{
    // The package's entry, starting this program; TryExec hides it once the program is gone.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Brimlet\n"
                          "GenericName=X12 EDI Viewer\n"
                          "Comment=View and search ASC X12 EDI interchange files\n"
                          "Icon=brimlet\n"
                          "TryExec=%1\n"
                          "Exec=%2 %f\n"
                          "Terminal=false\n"
                          "MimeType=%3;\n"
                          "Categories=Office;Viewer;\n")
        .arg(EscapedString(executable_), ExecProgram(executable_), QLatin1String(MimeType))
        .toUtf8();
}

QByteArray DesktopEntries::ServiceMenu(
    const char *action, const char *name, const char *mimeType, const char *arguments) const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Service\n"
                          "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                          "MimeType=%1\n"
                          "Actions=%2;\n"
                          "\n"
                          "[Desktop Action %2]\n"
                          "Name=%3\n"
                          "Icon=brimlet\n"
                          "Exec=%4 %5%f\n")
        .arg(QLatin1String(mimeType), QLatin1String(action), QLatin1String(name),
            ExecProgram(executable_), QLatin1String(arguments))
        .toUtf8();
}

QByteArray DesktopEntries::FilesScript(bool search) const
{
    // The script says for itself how GNOME Files runs it, for whoever opens it.
    QString script = QStringLiteral(
        "#!/bin/sh\n"
        "# %1\n"
        "# GNOME Files runs it in the folder shown, with the selected items as arguments named\n"
        "# from there; for items it has no such name for it passes addresses, and their local\n"
        "# paths, one a line, in NAUTILUS_SCRIPT_SELECTED_FILE_PATHS.\n"
        "newline='\n'\n"
        "item=${1-}\n"
        "case $item in\n"
        "'' | /*) ;;\n"
        "*)\n"
        "    if [ -e \"$item\" ]; then\n"
        "        item=$PWD/$item\n"
        "    else\n"
        "        item=${NAUTILUS_SCRIPT_SELECTED_FILE_PATHS-}\n"
        "        item=${item%%\"$newline\"*}\n"
        "    fi\n"
        "    ;;\n"
        "esac\n");
    if (search) {
        script = script.arg(
            QLatin1String("Opens Brimlet's Find in Files on the first folder selected in "
                          "GNOME Files, on the\n# folder of a file selected, or on the "
                          "folder shown when nothing is selected."));
        script += QStringLiteral("if [ -z \"$item\" ]; then\n"
                                 "    item=$PWD\n"
                                 "elif [ ! -d \"$item\" ]; then\n"
                                 "    item=${item%/*}\n"
                                 "    item=${item:-/}\n"
                                 "fi\n"
                                 "exec %1 -s \"$item\"\n")
                      .arg(ShellWord(executable_));
    } else {
        script
            = script.arg(QLatin1String("Opens in Brimlet the first item selected in GNOME Files."));
        script += QStringLiteral("[ -n \"$item\" ] || exit 0\n"
                                 "exec %1 \"$item\"\n")
                      .arg(ShellWord(executable_));
    }
    return script.toUtf8();
}

QString DesktopEntries::ExecProgram(const QString &path)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : path) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        else if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    quoted += u'"';
    // Exec is a string value: its own escapes are undone before the quoting above.
    return EscapedString(quoted);
}

QString DesktopEntries::ProgramOfExec(const QString &value)
{
    QString exec;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            switch (value[++i].unicode()) {
            case u's':
                c = u' ';
                break;
            case u'n':
                c = u'\n';
                break;
            case u't':
                c = u'\t';
                break;
            case u'r':
                c = u'\r';
                break;
            default:
                c = value[i];
            }
        }
        exec += c;
    }

    QString program;
    if (exec.startsWith(u'"')) {
        for (qsizetype i = 1; i < exec.size() && exec[i] != u'"'; ++i) {
            if (exec[i] == u'\\' && i + 1 < exec.size())
                ++i;
            program += exec[i];
        }
    } else {
        program = exec.section(u' ', 0, 0);
    }
    return program.replace(QLatin1String("%%"), QLatin1String("%"));
}
