#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs a program as a child process and measures it: wall-clock time and peak resident memory.
struct Measurement
{
    double seconds = 0;
    qint64 peakKiB = 0;
    int exitStatus = -1;
    QByteArray output; // what the child wrote on its standard output, when captured
};

struct ChildIo
{
    QString input; // file for standard input; empty keeps the parent's
    bool discardOutput = false;
    bool captureOutput = false;
    QString output; // file for standard output, emptied first; empty keeps the parent's
};

Measurement RunMeasured(const QStringList &command, const ChildIo &io = {});

// The fastest of several runs of the same command, with the highest peak memory among them:
// a virtual machine's first touches of memory make single runs noisy.
Measurement BestOf(int runs, const QStringList &command, const ChildIo &io = {});

// Reads a file once so that the page cache holds it.
void WarmCache(const QString &path);

QString FormatMiB(qint64 kib);
