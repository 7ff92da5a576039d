// Reader benchmark: SegmentCount alone and SegmentCount with the full sequential walk on a
// generated file, and brimlet-cli segments with its output discarded and written to a file,
// against tr over the same file, each in a child process of its own so that its time and peak
// memory are its own.

#include "GFileIO.h"

#include "BenchFile.h"
#include "Exception.h"
#include "Measure.h"
#include "X12Generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int RunPhase(const QString &phase, const QString &path)
{
    try {
        TGFile reader(path);
        const qint64 count = reader.SegmentCount();
        qint64 bytes = 0;
        if (phase == QLatin1String("walk")) {
            for (qint64 i = 1; i <= count; ++i) {
                reader.GotoSegment(i);
                bytes += reader.SegmentText().size();
            }
        }
        std::printf("%lld %lld\n", static_cast<long long>(count), static_cast<long long>(bytes));
        return 0;
    } catch (const Exception &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--phase"))
        return RunPhase(args[2], args[3]);

    BenchFileOptions options;
    if (!ParseBenchFileOptions(args, "bench_reader", options))
        return 2;
    const QString file = BenchFilePath(options, QStringLiteral("reader"));
    if (file.isEmpty())
        return 1;
    const int runs = options.runs;

    WarmCache(file);
    const Measurement tr = MeasureTr(file, runs);
    const QString self = QCoreApplication::applicationFilePath();
    const Measurement count
        = BestOf(runs, { self, QStringLiteral("--phase"), QStringLiteral("count"), file },
            { {}, false, true, {} });
    const Measurement walk = BestOf(runs,
        { self, QStringLiteral("--phase"), QStringLiteral("walk"), file }, { {}, false, true, {} });
    // The command-line tool lies beside the benchmark; its output goes nowhere, then to disk
    // beside the file read, as tr's does for the comparison.
    const QStringList segmentsCommand
        = { QCoreApplication::applicationDirPath() + QLatin1String("/brimlet-cli"),
              QStringLiteral("segments"), file };
    const Measurement segments = BestOf(runs, segmentsCommand, { {}, true, false, {} });
    const QString output = QFileInfo(file).absolutePath() + QLatin1String("/segments-output.txt");
    const Measurement trToFile = MeasureTr(file, runs, output);
    const Measurement segmentsToFile = BestOf(runs, segmentsCommand, { {}, false, false, output });
    QFile::remove(output);
    if (count.exitStatus != 0 || walk.exitStatus != 0 || tr.exitStatus != 0
        || segments.exitStatus != 0 || trToFile.exitStatus != 0 || segmentsToFile.exitStatus != 0) {
        std::fputs("a measured run failed\n", stderr);
        return 1;
    }

    const qint64 segmentCount = count.output.split(' ').value(0).toLongLong();
    std::printf("file            %s\n", qPrintable(file));
    std::printf("size            %lld bytes, %lld segments, line breaks %s\n",
        static_cast<long long>(QFileInfo(file).size()), static_cast<long long>(segmentCount),
        options.breaksName.constData());
    std::printf("best of %d runs each, warm page cache\n", runs);
    std::printf("%-28s %8s %12s %8s\n", "", "time", "peak memory", "vs tr");
    const auto row = [&](const char *name, const Measurement &m, const Measurement &base) {
        std::printf("%-28s %7.3fs %12s %7.2fx\n", name, m.seconds, qPrintable(FormatMiB(m.peakKiB)),
            m.seconds / base.seconds);
    };
    row("tr '~' '\\n'", tr, tr);
    row("SegmentCount", count, tr);
    row("SegmentCount + walk", walk, tr);
    row("brimlet-cli segments", segments, tr);
    std::printf("output written to %s:\n", qPrintable(QFileInfo(output).absolutePath()));
    row("tr '~' '\\n' > file", trToFile, trToFile);
    row("brimlet-cli segments > file", segmentsToFile, trToFile);
    const double ratio = walk.seconds / tr.seconds;
    const double segmentsRatio = segments.seconds / tr.seconds;
    const qint64 peak = std::max(count.peakKiB, walk.peakKiB);
    std::printf("target: count + walk within 2.5x tr: %s (%.2fx)\n",
        ratio <= 2.5 ? "met" : "MISSED", ratio);
    std::printf("target: segments within 1.5x tr: %s (%.2fx)\n",
        segmentsRatio <= 1.5 ? "met" : "MISSED", segmentsRatio);
    std::printf("target: peak memory under 20 MiB: %s (%s)\n", peak < 20 * 1024 ? "met" : "MISSED",
        qPrintable(FormatMiB(peak)));
    return 0;
}
