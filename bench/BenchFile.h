#pragma once

#include "Measure.h"
#include "X12Generator.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The generated interchange a benchmark runs on: folder/<prefix>-<size>-<breaks>.x12, written
// by X12Generator when it is missing or smaller than size. Returns its path, or an empty text
// when it cannot be written. secondInterchange: see X12Generator::Options; use a prefix of its
// own for such files.
QString EnsureBenchFile(const QString &folder, const QString &prefix, qint64 size,
    X12Generator::LineBreaks breaks, const QString &breaksName, bool secondInterchange = false);

// The options bench_reader and bench_load share: --size N[K|M|G], --breaks crlf|lf|none,
// --file PATH (an existing file instead of a generated one), --data FOLDER, --runs N.
struct BenchFileOptions
{
    qint64 size = qint64(1) << 30;
    QByteArray breaksName = "crlf";
    X12Generator::LineBreaks breaks = X12Generator::LineBreaks::CrLf;
    QString file;
    QString folder; // bench-data below the current folder unless given
    int runs = 3;
};

// Reads the options after the program's name. On an unknown option or a bad value, prints the
// usage line for program on stderr and returns false.
bool ParseBenchFileOptions(const QStringList &args, const char *program, BenchFileOptions &options);

// The file the options name, or the generated one under prefix when they name none; empty,
// after saying so on stderr, when it cannot be written.
QString BenchFilePath(
    const BenchFileOptions &options, const QString &prefix, bool secondInterchange = false);

// The best of runs of tr '~' '\n' over file with its output discarded, or written to output
// when that is given: the yardstick of the reading benchmarks.
Measurement MeasureTr(const QString &file, int runs, const QString &output = {});
