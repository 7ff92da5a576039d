// Load benchmark: opens an X12 file in an offscreen main window, in a child process of its own
// for each run so that its memory is its own, and reports against tr over the same file: the
// time to the first screen and to the full index, resident memory during and after the load,
// the slowest of the view's interactions while the file loads and after, and the commands that
// cross the whole file.

#include "BenchFile.h"
#include "LoadSession.h"
#include "Measure.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QStorageInfo>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr double FirstScreenGoalMs = 200;
constexpr double FullIndexGoalRatio = 1.0;
constexpr double InteractionGoalMs = 20;
constexpr qint64 ResidentGoalKiB = 400 * 1024;
constexpr int InteractionRuns = 20; // as the child runs them

const char Usage[] = "Usage: bench_load [--size N[K|M|G]] [--breaks crlf|lf|none] [--file PATH]\n"
                     "                  [--data FOLDER] [--runs N]\n"
                     "       bench_load --clean [--size N[K|M|G]] [--data FOLDER]\n";

const char Help[]
    = "\n"
      "Opens an X12 file in an offscreen main window, one child process a run, and reports\n"
      "the time to the first screen and to the full index (against tr '~' '\\n' over the\n"
      "same file), resident memory during and after the load, the slowest of 20 scrolls,\n"
      "Page Downs, Ctrl+End, clicks and status bar refreshes on the last line while the\n"
      "file loads and after, and the commands that cross the whole file.\n"
      "\n"
      "  --size N       size of the generated file (default 1G): load-N-BREAKS.x12 in the\n"
      "                 data folder, written once and reused\n"
      "  --breaks       line breaks after each segment of the generated file (default crlf)\n"
      "  --file PATH    an existing X12 file instead; the commands' targets come from it\n"
      "  --data FOLDER  where generated files go (default bench-data in the current folder)\n"
      "  --runs N       runs of tr and of the load (default 3)\n"
      "  --clean        removes bench_load's generated files of that --size, or all of\n"
      "                 them (load-*.x12), from the data folder, leaving other benchmarks'\n"
      "                 files, and runs nothing\n";

// What one child run printed: "name value" lines, and "skip name reason" for a command that
// had no target.
struct Figures
{
    QMap<QByteArray, QByteArray> values;
    QMap<QByteArray, QByteArray> skipped;
    qint64 peakKiB = 0; // as the parent saw it

    static Figures Parse(const QByteArray &output)
    {
        Figures figures;
        for (const QByteArray &line : output.split('\n')) {
            const qsizetype space = line.indexOf(' ');
            if (space <= 0)
                continue;
            const QByteArray name = line.left(space);
            const QByteArray rest = line.mid(space + 1);
            if (name == "skip") {
                const qsizetype end = rest.indexOf(' ');
                figures.skipped.insert(rest.left(end), end < 0 ? QByteArray() : rest.mid(end + 1));
            } else {
                figures.values.insert(name, rest);
            }
        }
        return figures;
    }

    bool Has(const char *name) const { return values.contains(name); }
    double Number(const char *name) const { return values.value(name).toDouble(); }
};

const struct
{
    const char *name;
    const char *label;
} InteractionNames[] = {
    { "scroll", "scroll" },
    { "page-down", "Page Down" },
    { "ctrl-end", "Ctrl+End / Ctrl+Home" },
    { "click", "click" },
    { "refresh-last", "status bar, last line" },
};

// The names every run must print, and those of each command it did not skip.
QStringList MissingFigures(const Figures &f)
{
    std::vector<QByteArray> needed
        = { "load-file-returns", "first-screen", "first-screen-lines", "resident-first",
              "rounds-during-load", "full-index", "peak-load", "resident-load", "index-bytes",
              "busy-during-load", "segments", "check-complete", "peak-end", "resident-end" };
    for (const auto &i : InteractionNames) {
        needed.push_back(QByteArray("after-") + i.name);
        if (f.Number("rounds-during-load") > 0)
            needed.push_back(QByteArray("during-") + i.name);
    }
    const std::vector<std::vector<QByteArray>> commands = {
        { "next-of-type", "next-of-type-lines" },
        { "goto-last-st", "goto-last-st-lines" },
        { "find-at-end", "find-at-end-line", "find-at-end-case", "find-at-end-case-line" },
    };
    for (const auto &names : commands) {
        if (!f.skipped.contains(names.front()))
            needed.insert(needed.end(), names.begin(), names.end());
    }
    QStringList missing;
    for (const QByteArray &name : needed) {
        if (!f.values.contains(name))
            missing << QString::fromLatin1(name);
    }
    return missing;
}

// The best and the worst of a figure over the runs that have it; -1 for both when none has.
struct Range
{
    double best = -1;
    double worst = -1;
};

Range RangeOf(const std::vector<Figures> &runs, const QByteArray &name)
{
    Range range;
    for (const Figures &f : runs) {
        if (!f.values.contains(name))
            continue;
        const double value = f.values.value(name).toDouble();
        range.best = range.best < 0 ? value : std::min(range.best, value);
        range.worst = std::max(range.worst, value);
    }
    return range;
}

double Highest(const std::vector<Figures> &runs, const char *name)
{
    double highest = 0;
    for (const Figures &f : runs)
        highest = std::max(highest, f.Number(name));
    return highest;
}

QByteArray LoadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return "unknown";
    return file.readAll().split(' ').value(0);
}

// Removes the generated files of size from folder, or all of them when size is 0.
int Clean(const QString &folder, qint64 size)
{
    const QDir dir(folder);
    const QString sizes = size > 0 ? QString::number(size) : QStringLiteral("*");
    const QStringList files
        = dir.entryList({ QStringLiteral("load-%1-*.x12").arg(sizes) }, QDir::Files | QDir::Hidden);
    if (files.isEmpty())
        std::printf("no files of bench_load in %s\n", qPrintable(folder));
    bool failed = false;
    for (const QString &name : files) {
        const QString path = dir.filePath(name);
        if (QFile::remove(path)) {
            std::printf("removed %s\n", qPrintable(path));
        } else {
            std::fprintf(stderr, "cannot remove %s\n", qPrintable(path));
            failed = true;
        }
    }
    return failed ? 1 : 0;
}

constexpr int LabelWidth = 40;

void PrintRange(const char *label, const Range &range, double scale, const char *unit)
{
    std::printf("  %-*s %9.3f %-2s %9.3f %s\n", LabelWidth, label, range.best * scale, unit,
        range.worst * scale, unit);
}

// Line (from 0) as the view numbers it, from 1.
QByteArray LineText(const QByteArray &line)
{
    return QByteArray::number(line.toLongLong() + 1);
}

QString Mark(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

// The report's parts, each over every run's figures.
class Report
{
public:
    Report(const std::vector<Figures> &runs, double trSeconds)
        : runs_(runs)
        , first_(runs.front())
        , trSeconds_(trSeconds)
    {
        for (const Figures &f : runs)
            parentPeakKiB_ = std::max(parentPeakKiB_, f.peakKiB);
    }

    void Print() const
    {
        Times();
        Memory();
        Interactions();
        Commands();
        Goals();
    }

private:
    Range Of(const QByteArray &name) const { return RangeOf(runs_, name); }

    void Times() const
    {
        std::printf("  %-*s %9s    %9s\n", LabelWidth, "", "best", "worst");
        std::printf("  %-*s %9.3f s\n", LabelWidth, "tr '~' '\\n'", trSeconds_);
        PrintRange("LoadFile returns", Of("load-file-returns"), 1e3, "ms");
        const Range lines = Of("first-screen-lines");
        const QByteArray screen = "first screen (" + QByteArray::number(lines.best, 'f', 0)
            + (lines.worst > lines.best ? " to " + QByteArray::number(lines.worst, 'f', 0)
                                        : QByteArray())
            + " lines)";
        PrintRange(screen.constData(), Of("first-screen"), 1e3, "ms");
        const Range index = Of("full-index");
        std::printf("  %-*s %9.3f s  %9.3f s   %.2fx tr at best\n", LabelWidth, "full index",
            index.best, index.worst, index.best / trSeconds_);
        const Range check = Of("check-complete");
        std::printf("  %-*s %9.3f s  %9.3f s   %.2fx tr at best\n", LabelWidth,
            "envelope check shown whole", check.best, check.worst, check.best / trSeconds_);
    }

    void Memory() const
    {
        std::printf("resident memory (VmRSS; peak VmHWM), the highest of the runs:\n");
        const auto mib = [](const char *label, double kib) {
            std::printf("  %-*s %s\n", LabelWidth, label, qPrintable(FormatMiB(qint64(kib))));
        };
        mib("after the first screen", Highest(runs_, "resident-first"));
        mib("peak up to the load's end", Highest(runs_, "peak-load"));
        mib("at the load's end", Highest(runs_, "resident-load"));
        mib("peak up to the end of the run", Highest(runs_, "peak-end"));
        mib("after the commands", Highest(runs_, "resident-end"));
        mib("peak as the parent saw it", double(parentPeakKiB_));
        // Not resident memory, unless the temporary folder is in memory itself.
        const qint64 indexBytes = qint64(first_.Number("index-bytes"));
        const qint64 segments = qint64(first_.Number("segments"));
        const QString folder = QStringLiteral("%1 (%2)").arg(
            QDir::tempPath(), QString::fromLatin1(QStorageInfo(QDir::tempPath()).fileSystemType()));
        if (indexBytes < 0)
            std::printf("  %-*s not found in %s\n", LabelWidth, "index file", qPrintable(folder));
        else
            std::printf("  %-*s %s, %.1f bytes a segment, in %s\n", LabelWidth, "index file",
                qPrintable(FormatMiB(indexBytes / 1024)),
                segments > 0 ? double(indexBytes) / double(segments) : 0.0, qPrintable(folder));
    }

    void Interactions() const
    {
        std::printf("interactions, slowest of %d runs each, with repaint (ms):\n", InteractionRuns);
        std::printf("  %-*s %17s   %17s\n", LabelWidth - 8, "", "while loading", "after the load");
        std::printf(
            "  %-*s %8s %8s   %8s %8s\n", LabelWidth - 8, "", "best", "worst", "best", "worst");
        for (const auto &i : InteractionNames) {
            const Range during = Of(QByteArray("during-") + i.name);
            const Range after = Of(QByteArray("after-") + i.name);
            if (during.best < 0)
                std::printf("  %-*s %8s %8s   %8.3f %8.3f\n", LabelWidth - 8, i.label, "-", "-",
                    after.best, after.worst);
            else
                std::printf("  %-*s %8.3f %8.3f   %8.3f %8.3f\n", LabelWidth - 8, i.label,
                    during.best, during.worst, after.best, after.worst);
        }
        const Range rounds = Of("rounds-during-load");
        const Range busy = Of("busy-during-load");
        std::printf("  rounds while loading: %.0f to %.0f of %d; the longest the window was busy\n"
                    "  between two of them (its looks at the load, paints): %.3f to %.3f ms\n",
            rounds.best, rounds.worst, InteractionRuns, busy.best, busy.worst);
    }

    void Command(const char *name, const QByteArray &label) const
    {
        if (first_.skipped.contains(name))
            std::printf("  %-*s skipped: %s\n", LabelWidth, label.constData(),
                first_.skipped.value(name).constData());
        else
            PrintRange(label.constData(), Of(name), 1, "s");
    }

    void Commands() const
    {
        std::printf("commands across the file, after the load, one run each:\n");
        const QList<QByteArray> step = first_.values.value("next-of-type-lines").split(' ');
        Command("next-of-type",
            "Next of type " + step.value(2) + ", line " + LineText(step.value(0)) + " to "
                + LineText(step.value(1)));
        const QList<QByteArray> set = first_.values.value("goto-last-st-lines").split(' ');
        Command("goto-last-st", "Go To " + set.value(0) + " ST, line " + LineText(set.value(1)));
        Command("find-at-end",
            "find last segment, to line " + LineText(first_.values.value("find-at-end-line")));
        Command("find-at-end-case",
            "  match case, to line " + LineText(first_.values.value("find-at-end-case-line")));
    }

    void Goals() const
    {
        double slowest = -1;
        for (const auto &i : InteractionNames) {
            slowest = std::max(slowest, Of(QByteArray("after-") + i.name).best);
            slowest = std::max(slowest, Of(QByteArray("during-") + i.name).best);
        }
        const bool whileLoading = Of("rounds-during-load").best > 0;
        const double peak = std::max<double>(Highest(runs_, "peak-end"), double(parentPeakKiB_));
        const double screenMs = Of("first-screen").best * 1e3;
        const double ratio = Of("full-index").best / trSeconds_;
        std::printf("goals, on the best run of each figure:\n");
        std::printf("  first screen within %.0f ms: %s (%.0f ms)\n", FirstScreenGoalMs,
            qPrintable(Mark(screenMs <= FirstScreenGoalMs)), screenMs);
        std::printf("  full index within %.1fx tr: %s (%.2fx)\n", FullIndexGoalRatio,
            qPrintable(Mark(ratio <= FullIndexGoalRatio)), ratio);
        std::printf("  every interaction within %.0f ms: %s (slowest %.1f ms%s)\n",
            InteractionGoalMs, qPrintable(Mark(slowest <= InteractionGoalMs)), slowest,
            whileLoading ? "" : "; none while loading: the load ended first");
        std::printf("  resident under %s at every moment: %s (peak %s)\n",
            qPrintable(FormatMiB(ResidentGoalKiB)),
            qPrintable(Mark(peak < double(ResidentGoalKiB))), qPrintable(FormatMiB(qint64(peak))));
    }

    const std::vector<Figures> &runs_;
    const Figures &first_;
    const double trSeconds_;
    qint64 parentPeakKiB_ = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--phase") == 0 && qstrcmp(argv[2], "load") == 0)
        return LoadSession::Run(argc, argv, QFile::decodeName(argv[3]));

    QCoreApplication app(argc, argv);
    QStringList args = app.arguments();
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        std::printf("%s%s", Usage, Help);
        return 0;
    }
    const bool clean = args.removeAll(QStringLiteral("--clean")) > 0;
    BenchFileOptions options;
    if (!ParseBenchFileOptions(args, "bench_load", options)) {
        std::fprintf(stderr, "       bench_load --clean [--size N[K|M|G]] [--data FOLDER]\n");
        return 2;
    }
    if (clean)
        return Clean(options.folder, args.contains(QLatin1String("--size")) ? options.size : 0);

    // bench_reader's kind of file, ending with a second interchange: the longest step of
    // Next Segment of This Type then crosses the whole file.
    const QString file = BenchFilePath(options, QStringLiteral("load"), true);
    if (file.isEmpty())
        return 1;
    const int runs = options.runs;
    const QByteArray loadBefore = LoadAverage();

    WarmCache(file);
    const Measurement tr = MeasureTr(file, runs);
    if (tr.exitStatus != 0) {
        std::fputs("tr failed\n", stderr);
        return 1;
    }
    std::vector<Figures> figures;
    for (int run = 0; run < runs; ++run) {
        const Measurement load
            = RunMeasured({ QCoreApplication::applicationFilePath(), QStringLiteral("--phase"),
                              QStringLiteral("load"), file },
                { {}, false, true, {} });
        if (load.exitStatus != 0) {
            std::fprintf(
                stderr, "run %d of the load failed (exit status %d)\n", run + 1, load.exitStatus);
            return 1;
        }
        Figures f = Figures::Parse(load.output);
        f.peakKiB = load.peakKiB;
        const QStringList missing = MissingFigures(f);
        if (!missing.isEmpty()) {
            std::fprintf(stderr, "run %d of the load gave no %s\n", run + 1,
                qPrintable(missing.join(QStringLiteral(", "))));
            return 1;
        }
        if (!figures.empty()
            && f.values.value("segments") != figures.front().values.value("segments")) {
            std::fprintf(stderr, "run %d of the load found %s segments, run 1 %s\n", run + 1,
                f.values.value("segments").constData(),
                figures.front().values.value("segments").constData());
            return 1;
        }
        figures.push_back(f);
    }

    const qint64 bytes = QFileInfo(file).size();
    std::printf("file      %s\n", qPrintable(file));
    std::printf("size      %lld bytes (%.2f GiB), %s segments", static_cast<long long>(bytes),
        double(bytes) / double(qint64(1) << 30),
        figures.front().values.value("segments").constData());
    if (options.file.isEmpty())
        std::printf(", line breaks %s", options.breaksName.constData());
    std::printf("\nmachine   %d cores, shared: load average %s at the start, %s at the end\n",
        QThread::idealThreadCount(), loadBefore.constData(), LoadAverage().constData());
    std::printf("runs      %d of tr (the best) and of the load, warm page cache\n", runs);
    Report(figures, tr.seconds).Print();
    return 0;
}
