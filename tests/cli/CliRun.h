#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of brimlet-cli: its exit status and what it wrote.
struct CliRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// Runs brimlet-cli with args, in folder when one is given, with environment (this process's by
// default), and waits for it to end.
CliRun Cli(const QStringList &args, const QString &folder = {},
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment());
