#pragma once

#include <QByteArray>
#include <QString>

// Points TMPDIR, XDG_CONFIG_HOME and XDG_DATA_HOME at folders of a private temporary folder, so
// that no test touches the real home folder, and checks at the end that no segment index file
// was left behind there.
class TestEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();

    // Runs the tests; fails the run when an "x12" index file is left in the temporary folder.
    int Run();

    static QString TempFolder();

private:
    QString root_;
};

// Writes bytes to a new file at path, replacing it; fails the current test on error.
void WriteBytes(const QString &path, const QByteArray &bytes);

// The "x12" index files currently in the temporary folder.
QStringList IndexFilesLeft();

// The unnamed files in folder (by default the temporary folder) that process pid has open, as
// the system shows them: the folder, "/#" and a number. Unnamed index files are such files.
QStringList OpenUnnamedFiles(const QString &folder = {}, qint64 pid = 0);
