#include "DesktopEntries.h"

#include "ReplaceFile.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

const char Failure[] = "There was an error while Brimlet attempted to modify the desktop context "
                       "menus.  The file \"%1\" could not be written: %2";

// File managers list the service menu only when it may be run, as any program.
constexpr QFileDevice::Permissions Executable = QFileDevice::ReadOwner | QFileDevice::WriteOwner
    | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup
    | QFileDevice::ReadOther | QFileDevice::ExeOther;

// Runs update-desktop-database on folder so that the new entries' file types take effect at
// once; without it they do the next time the desktop rebuilds its cache. A tool that does not
// finish in time is stopped: the entries are written either way.
void UpdateDesktopDatabase(const QString &folder, int timeout)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-desktop-database"));
    if (tool.isEmpty())
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

} // namespace

DesktopEntries::DesktopEntries(QString executable, QString dataHome)
    : executable_(std::move(executable))
    , dataHome_(std::move(dataHome))
{ }

QString DesktopEntries::DefaultDataHome()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString DesktopEntries::ApplicationsFolder() const
{
    return dataHome_ + QLatin1String("/applications");
}

QStringList DesktopEntries::FilePaths() const
{
    return { ApplicationsFolder() + QLatin1String("/brimlet.desktop"),
        ApplicationsFolder() + QLatin1String("/brimlet-search.desktop"),
        dataHome_ + QLatin1String("/kio/servicemenus/brimlet.desktop") };
}

std::optional<QString> DesktopEntries::Write() const
{
    const QStringList paths = FilePaths();
    const QByteArray contents[] = { ApplicationEntry(), SearchEntry(), ServiceMenu() };
    std::optional<QString> failure;
    int written = 0;
    for (; written < paths.size(); ++written) {
        const bool isServiceMenu = written == 2;
        const std::optional<QString> reason = ReplaceFile(paths[written], contents[written],
            isServiceMenu ? std::optional(Executable) : std::nullopt);
        if (reason) {
            failure = QString::fromLatin1(Failure).arg(paths[written], *reason);
            break;
        }
    }
    // What was written stays, so it should take effect even when a later file failed.
    if (written > 0)
        UpdateDesktopDatabase(ApplicationsFolder(), toolTimeout_);
    return failure;
}

QByteArray DesktopEntries::ApplicationEntry() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Brimlet\n"
                          "Icon=brimlet\n"
                          "Exec=%1 %f\n"
                          "MimeType=application/edi-x12;text/plain;application/octet-stream;\n"
                          "Categories=Utility;Viewer;\n")
        .arg(ExecProgram(executable_))
        .toUtf8();
}

QByteArray DesktopEntries::SearchEntry() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Search With Brimlet...\n"
                          "Icon=brimlet\n"
                          "Exec=%1 -s %f\n"
                          "MimeType=inode/directory;\n"
                          "NoDisplay=true\n")
        .arg(ExecProgram(executable_))
        .toUtf8();
}

QByteArray DesktopEntries::ServiceMenu() const
{
    // One service menu holds both actions; the file types it names apply to both, so each
    // action is offered on files and folders alike.
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Service\n"
                          "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
                          "MimeType=all/allfiles;inode/directory;\n"
                          "Actions=OpenWithBrimlet;SearchWithBrimlet;\n"
                          "\n"
                          "[Desktop Action OpenWithBrimlet]\n"
                          "Name=Open With Brimlet\n"
                          "Icon=brimlet\n"
                          "Exec=%1 %f\n"
                          "\n"
                          "[Desktop Action SearchWithBrimlet]\n"
                          "Name=Search With Brimlet...\n"
                          "Icon=brimlet\n"
                          "Exec=%1 -s %f\n")
        .arg(ExecProgram(executable_))
        .toUtf8();
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
    QString value;
    for (const QChar c : quoted) {
        switch (c.unicode()) {
        case u'\\':
            value += QLatin1String("\\\\");
            break;
        case u'\n':
            value += QLatin1String("\\n");
            break;
        case u'\t':
            value += QLatin1String("\\t");
            break;
        case u'\r':
            value += QLatin1String("\\r");
            break;
        default:
            value += c;
        }
    }
    return value;
}
