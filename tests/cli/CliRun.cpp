#include "CliRun.h"

#include <QProcess>

CliRun Cli(const QStringList &args, const QString &folder, const QProcessEnvironment &environment)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(BRIMLET_CLI), args);
    process.waitForFinished(30000);
    return { process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError() };
}
