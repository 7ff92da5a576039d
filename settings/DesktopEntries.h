#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Adds "Open With Brimlet" on files and "Search With Brimlet..." on folders to the current
// user's file managers (KDE's and GNOME's), registers the X12 file type, and takes all of it
// away again. No entry names a type that other programs open by default (plain text, any file,
// folders), so the user's default programs stay as they were.
class DesktopEntries
{
public:
    // A file the command puts down, created or replaced whole.
    struct File
    {
        QString path;
        QByteArray contents;
        bool executable = false; // file managers offer service menus and scripts only then
    };

    // executable: the program the entries start. dataHome: the user's data folder, by default
    // $XDG_DATA_HOME (normally ~/.local/share). dataDirs: the system's data folders, where an
    // installed package keeps its application entry ($XDG_DATA_DIRS).
    explicit DesktopEntries(QString executable, QString dataHome = DefaultDataHome(),
        QStringList dataDirs = DefaultDataDirs());

    static QString DefaultDataHome();
    static QStringList DefaultDataDirs();

    // What Write puts down, in order: the file type's definition, the application entry
    // (unless UsesPackagedEntry), the two KDE service menus and the two GNOME Files scripts.
    QList<File> Files() const;

    // Whether the program runs from an installed package whose own application entry starts
    // this same program for X12 files: the user's entry of the same name would only hide it.
    bool UsesPackagedEntry() const;

    // Writes Files() in order, refreshing the file-type database right after the definition;
    // then deletes a user's application entry that would hide the packaged one, and the files
    // of earlier versions of this command. Stops at the first file that cannot be written or
    // deleted, keeping what was done before it, and returns the message for the "Error" box;
    // returns nothing on success. The application database is refreshed either way.
    std::optional<QString> Write() const;

    // Deletes every file Write puts down or deletes, wherever it is present, and refreshes both
    // databases. Returns the message for the "Error" box when a file stays; nothing otherwise.
    std::optional<QString> Remove() const;

    // How long update-mime-database and update-desktop-database may each run before they are
    // stopped, in milliseconds.
    void SetToolTimeout(int milliseconds) { toolTimeout_ = milliseconds; }

    // path as the program part of an Exec value: in double quotes with a backslash before
    // '"', '`', '$' and '\', "%" doubled so that it is no field code, and then escaped as a
    // desktop-entry string, so that a backslash of the path is written as four.
    static QString ExecProgram(const QString &path);
    // The program an Exec value (as it stands in the file) starts, its quoting undone.
    static QString ProgramOfExec(const QString &value);

private:
    QString MimeFolder() const;
    QString ApplicationsFolder() const;
    QString ApplicationEntryPath() const;
    // Files this command wrote in earlier versions, whose types took over folders.
    QStringList RetiredPaths() const;

    QByteArray ApplicationEntry() const;
    QByteArray ServiceMenu(
        const char *action, const char *name, const char *mimeType, const char *arguments) const;
    QByteArray FilesScript(bool search) const;

    QString executable_;
    QString dataHome_;
    QStringList dataDirs_;
    int toolTimeout_ = 10000;
};
