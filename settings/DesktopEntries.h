#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Writes the freedesktop entries through which file managers offer "Open With Brimlet" on files
// and "Search With Brimlet..." on folders to the current user. The entries only ever get
// written: nothing reads, checks or removes them.
class DesktopEntries
{
public:
    // executable: the program the entries start. dataHome: the user's data folder, by default
    // $XDG_DATA_HOME (normally ~/.local/share).
    explicit DesktopEntries(QString executable, QString dataHome = DefaultDataHome());

    static QString DefaultDataHome();

    // The files written, in order: the application entry and the folder-search entry in
    // applications/, then the KDE service menu in kio/servicemenus/.
    QStringList FilePaths() const;

    // Writes the three files in order, each created or replaced whole, then runs
    // update-desktop-database on the applications folder when it is installed (its outcome is
    // ignored). Stops at the first file that cannot be written, keeping those written before it,
    // and returns the message for the "Error" box; returns nothing on success.
    std::optional<QString> Write() const;

    // How long update-desktop-database may run before it is stopped, in milliseconds.
    void SetToolTimeout(int milliseconds) { toolTimeout_ = milliseconds; }

    // The file contents, as Write puts them down.
    QByteArray ApplicationEntry() const;
    QByteArray SearchEntry() const;
    QByteArray ServiceMenu() const;

    // path as the program part of an Exec value: in double quotes with a backslash before
    // '"', '`', '$' and '\', "%" doubled so that it is no field code, and then escaped as a
    // desktop-entry string, so that a backslash of the path is written as four.
    static QString ExecProgram(const QString &path);

private:
    QString ApplicationsFolder() const;

    QString executable_;
    QString dataHome_;
    int toolTimeout_ = 10000;
};
