// Envelope check benchmark: the check and outline in the reader's index pass on a generated
// file, against SegmentCount alone and tr over the same file, and the command-line tool's check
// and outline. Each runs in a child process of its own, so that its time and peak memory are
// its own, and the runs take turns, so that a change in the machine's load falls on all alike.

#include "EnvelopeChecker.h"
#include "GFileIO.h"

#include "BenchFile.h"
#include "Exception.h"
#include "Measure.h"
#include "X12Generator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <vector>

namespace {

int RunPhase(const QString &phase, const QString &path)
{
    try {
        TGFile reader(path);
        if (phase == QLatin1String("count")) {
            std::printf("%lld\n", static_cast<long long>(reader.SegmentCount()));
            return 0;
        }
        EnvelopeChecker checker;
        reader.SetScanObserver(checker.Observer());
        const qint64 segments = reader.SegmentCount();
        checker.Finish();
        const EnvelopeOutline outline = checker.TakeOutline();
        const EnvelopeProblems problems = checker.TakeProblems();
        // The outline is read through, as a listing of it would.
        qint64 setSegments = 0;
        for (qint64 i = 0; i < outline.SetCount(); ++i)
            setSegments
                += outline.Set(i).SegmentCount() + outline.Text(outline.Set(i).Control).size();
        std::printf("%lld %lld %lld %lld %lld\n", static_cast<long long>(segments),
            static_cast<long long>(outline.SetCount()),
            static_cast<long long>(problems.Count() + problems.Omitted()),
            static_cast<long long>(outline.Capacity()), static_cast<long long>(setSegments));
        return 0;
    } catch (const Exception &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
}

struct Contender
{
    const char *name;
    QStringList command;
    ChildIo io;
    Measurement best;
};

// The best time of runs of each contender, the contenders taking turns, each round starting
// one further on: each run writes a large index file, and the system's writing it back slows
// whichever run comes next. The highest peak memory of each.
void RunSideBySide(std::vector<Contender> &contenders, int runs)
{
    const size_t n = contenders.size();
    for (int run = 0; run < runs; ++run) {
        for (size_t k = 0; k < n; ++k) {
            Contender &c = contenders[(size_t(run) + k) % n];
            Measurement m = RunMeasured(c.command, c.io);
            const qint64 peak = std::max(c.best.peakKiB, m.peakKiB);
            if (run == 0 || m.exitStatus != 0 || m.seconds < c.best.seconds)
                c.best = m;
            c.best.peakKiB = peak;
        }
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
    if (!ParseBenchFileOptions(args, "bench_check", options))
        return 2;
    // Two interchanges, so that the check crosses from one to the next.
    const QString file = BenchFilePath(options, QStringLiteral("check"), true);
    if (file.isEmpty())
        return 1;

    const QString self = QCoreApplication::applicationFilePath();
    const QString cli = QFileInfo(self).dir().filePath(QStringLiteral("brimlet-cli"));
    const auto phase = [&](const char *name) {
        return QStringList { self, QStringLiteral("--phase"), QLatin1String(name), file };
    };
    std::vector<Contender> contenders = {
        { "tr '~' '\\n'", { QStringLiteral("tr"), QStringLiteral("~"), QStringLiteral("\n") },
            { file, true, false, {} }, {} },
        { "SegmentCount", phase("count"), { {}, false, true, {} }, {} },
        { "check + outline", phase("check"), { {}, false, true, {} }, {} },
        { "brimlet-cli check", { cli, QStringLiteral("check"), file }, { {}, true, false, {} },
            {} },
        { "brimlet-cli outline", { cli, QStringLiteral("outline"), file }, { {}, true, false, {} },
            {} },
    };
    WarmCache(file);
    RunSideBySide(contenders, options.runs);
    for (const Contender &c : contenders) {
        // check exits 1 when it lists problems: the generated file has none.
        if (c.best.exitStatus != 0) {
            std::fprintf(stderr, "%s failed (exit status %d)\n", c.name, c.best.exitStatus);
            return 1;
        }
    }

    const Measurement &tr = contenders[0].best;
    const Measurement &count = contenders[1].best;
    const Measurement &check = contenders[2].best;
    const QList<QByteArray> figures = check.output.trimmed().split(' ');
    const qint64 segments = figures.value(0).toLongLong();
    const qint64 sets = figures.value(1).toLongLong();
    const qint64 problems = figures.value(2).toLongLong();
    const qint64 outlineBytes = figures.value(3).toLongLong();
    std::printf("file            %s\n", qPrintable(file));
    std::printf("size            %lld bytes, %lld segments, %lld transaction sets, line breaks "
                "%s\n",
        static_cast<long long>(QFileInfo(file).size()), static_cast<long long>(segments),
        static_cast<long long>(sets), options.breaksName.constData());
    std::printf("problems found  %lld; outline records and texts %s\n",
        static_cast<long long>(problems), qPrintable(FormatMiB(outlineBytes / 1024)));
    std::printf("best of %d runs each, side by side, warm page cache\n", options.runs);
    std::printf("%-22s %8s %12s %8s %10s\n", "", "time", "peak memory", "vs tr", "vs count");
    for (const Contender &c : contenders)
        std::printf("%-22s %7.3fs %12s %7.2fx %9.2fx\n", c.name, c.best.seconds,
            qPrintable(FormatMiB(c.best.peakKiB)), c.best.seconds / tr.seconds,
            c.best.seconds / count.seconds);

    const double ratio = check.seconds / count.seconds;
    const qint64 budgetKiB = 64 * 1024 + sets * 64 / 1024;
    std::printf("target: check + outline within 1.5x SegmentCount: %s (%.2fx)\n",
        ratio <= 1.5 ? "met" : "MISSED", ratio);
    std::printf("target: peak memory under 64 MiB + 64 bytes a set (%s): %s (%s)\n",
        qPrintable(FormatMiB(budgetKiB)), check.peakKiB < budgetKiB ? "met" : "MISSED",
        qPrintable(FormatMiB(check.peakKiB)));
    return problems == 0 ? 0 : 1;
}
