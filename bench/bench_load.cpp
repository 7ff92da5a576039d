// Load benchmark: LoadFile on a generated interchange in an offscreen main window, in a child
// process of its own so that its peak memory is its own, against tr over the same file; then
// the time of a scroll, Page Down, Ctrl+End and a click in the loaded file, and of the
// commands that may cross the whole file: a status bar refresh on the last line, Next Segment
// of This Type from the first segment to the second interchange's ISA at the end, Go To Line
// by type for the last ST, and a find whose only match is the last segment.

#include "BenchFile.h"
#include "FindDialog.h"
#include "Measure.h"
#include "MessageBoxes.h"
#include "RawDataView.h"
#include "X12Generator.h"
#include "frmGoTo.h"
#include "frmMain.h"

#include "GFileIO.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr double OpenTargetRatio = 3.5;
constexpr double AnswerTargetMs = 20;
constexpr int AnswerRuns = 20;

// The slowest of several runs of an action followed by the repaint it causes, in milliseconds.
double WorstMs(RawDataView &view, const std::function<void(int)> &action)
{
    double worst = 0;
    QElapsedTimer timer;
    for (int run = 0; run < AnswerRuns; ++run) {
        timer.start();
        action(run);
        view.viewport()->repaint();
        worst = std::max(worst, double(timer.nsecsElapsed()) / 1e6);
    }
    return worst;
}

void Key(RawDataView &view, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&view, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&view, &release);
}

void Click(RawDataView &view, const QPoint &at)
{
    QWidget *viewport = view.viewport();
    const QPointF global = viewport->mapToGlobal(QPointF(at));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), global, Qt::LeftButton, Qt::LeftButton,
        Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at), global, Qt::LeftButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

// Seconds that one run of a command takes, or -1 when it did not end where expected.
double CommandSeconds(
    const std::function<void()> &command, const std::function<bool()> &endedWell, bool &failed)
{
    QElapsedTimer timer;
    timer.start();
    command();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    return !failed && endedWell() ? seconds : -1;
}

// The commands that may cross the whole file, each run once.
void RunCommands(TForm1 &window, bool &failed)
{
    RawDataView &view = *window.Memo1;
    const qint64 segments = window.Reader->SegmentCount();
    const auto atLine = [&](qint64 line) {
        return view.SelStart() == view.LineIndex(line) && view.SelLength() == 0;
    };

    const qint64 last = segments - 1;
    view.SetSelStart(view.LineIndex(last) + view.Model().LineLength(last));
    const double refresh = WorstMs(view, [&](int) { window.Memo1Click(); });
    const bool refreshed
        = window.StatusPanel0->text() == QStringLiteral("Line: %1 Col: 16 IEA02").arg(segments);

    // The second interchange: ISA, GS, ST, BEG, SE, GE, IEA.
    view.SetSelStart(0);
    const double next = CommandSeconds([&] { window.GotoNextMatchingSegmentType1->trigger(); },
        [&] { return atLine(segments - 7); }, failed);

    qint64 sets = 0;
    for (qint64 line = 0; line < segments; ++line)
        sets += view.Model().Line(line).startsWith("ST*");
    TGoToForm goTo;
    window.GoToForm = &goTo;
    QTimer::singleShot(0, &goTo, [&] {
        goTo.Edit1->setText(QString::number(sets));
        goTo.Edit2->setText(QStringLiteral("ST"));
        goTo.GoToButton->click();
    });
    const double lastSet = CommandSeconds(
        [&] { window.GotoLine1->trigger(); }, [&] { return atLine(segments - 5); }, failed);
    window.GoToForm = nullptr;

    FindDialog &find = *window.FindDialog1;
    find.FindWhat->setText(QStringLiteral("IEA*1*000000002"));
    const auto findAtEnd = [&] {
        view.SetSelStart(0);
        return CommandSeconds([&] { window.FindNext1->trigger(); },
            [&] { return view.SelStart() == view.LineIndex(last); }, failed);
    };
    const double findIgnoringCase = findAtEnd();
    find.MatchCaseBox->setChecked(true);
    const double findMatchingCase = findAtEnd();

    std::printf("refresh-last %.3f\n", refreshed ? refresh : -1);
    std::printf("next-of-type %.3f\ngoto-last-st %.3f\n", next, lastSet);
    std::printf("find-at-end %.3f\nfind-at-end-case %.3f\n", findIgnoringCase, findMatchingCase);
}

// The child: loads the file and prints "name value" lines for the parent.
int RunLoad(int argc, char *argv[], const QString &path)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bool failed = false;
    MessageBoxes::SetReporter([&](MessageBoxes::Kind, const QString &, const QString &text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        failed = true;
    });
    TForm1 window { QStringList() };
    window.resize(900, 700);
    window.show();
    QApplication::processEvents();

    RawDataView &view = *window.Memo1;
    QElapsedTimer timer;
    timer.start();
    MessageBoxes::Guarded([&] { window.LoadFile(path); });
    view.viewport()->repaint();
    const double firstLines = double(timer.nsecsElapsed()) / 1e9;
    if (failed)
        return 1;

    QScrollBar *bar = view.verticalScrollBar();
    const double scroll = WorstMs(view,
        [&](int run) { bar->setValue(int(qint64(bar->maximum()) * ((run * 37) % 100) / 100)); });
    view.SetSelStart(0);
    const double pageDown = WorstMs(view, [&](int) { Key(view, Qt::Key_PageDown); });
    const double ctrlEnd = WorstMs(view,
        [&](int run) { Key(view, run % 2 ? Qt::Key_Home : Qt::Key_End, Qt::ControlModifier); });
    const double click = WorstMs(view, [&](int run) {
        bar->setValue(int(qint64(bar->maximum()) * ((run * 53) % 100) / 100));
        Click(view, QPoint(40 + run * 7, 10 + run * 13));
    });

    std::printf("segments %lld\n", static_cast<long long>(window.Reader->SegmentCount()));
    std::printf("lines %lld\n", static_cast<long long>(view.Model().LineCount()));
    std::printf("first-lines %.6f\n", firstLines);
    std::printf("scroll %.3f\npage-down %.3f\nctrl-end %.3f\nclick %.3f\n", scroll, pageDown,
        ctrlEnd, click);
    RunCommands(window, failed);
    return 0;
}

double Value(const QByteArray &output, const QByteArray &name)
{
    for (const QByteArray &line : output.split('\n')) {
        if (line.startsWith(QByteArray(name + ' ')))
            return line.mid(name.size() + 1).toDouble();
    }
    return -1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "--phase") == 0 && qstrcmp(argv[2], "load") == 0)
        return RunLoad(argc, argv, QFile::decodeName(argv[3]));

    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    BenchFileOptions options;
    if (!ParseBenchFileOptions(args, "bench_load", options))
        return 2;
    // bench_reader's kind of file, ending with a second interchange for the commands to find.
    const QString file = BenchFilePath(options, QStringLiteral("load"), true);
    if (file.isEmpty())
        return 1;
    const int runs = options.runs;

    WarmCache(file);
    const Measurement tr = MeasureTr(file, runs);
    const Measurement load = BestOf(runs,
        { QCoreApplication::applicationFilePath(), QStringLiteral("--phase"),
            QStringLiteral("load"), file },
        { {}, false, true, {} });
    if (tr.exitStatus != 0 || load.exitStatus != 0) {
        std::fputs("a measured run failed\n", stderr);
        return 1;
    }

    const qint64 bytes = QFileInfo(file).size();
    const qint64 segments = qint64(Value(load.output, "segments"));
    const double open = Value(load.output, "first-lines");
    const double ratio = open / tr.seconds;
    const qint64 memoryLimitKiB = (bytes + 16 * segments) / 1024 + 100 * 1024;
    std::printf("file            %s\n", qPrintable(file));
    std::printf("size            %lld bytes, %lld segments, line breaks %s\n",
        static_cast<long long>(bytes), static_cast<long long>(segments),
        options.breaksName.constData());
    std::printf("best of %d runs each, warm page cache\n", runs);
    std::printf("tr '~' '\\n'                  %8.3fs\n", tr.seconds);
    std::printf("LoadFile to first lines      %8.3fs  %.2fx tr\n", open, ratio);
    std::printf("load process, start to end   %8.3fs\n", load.seconds);
    std::printf("peak memory                  %s (limit %s: size + 16 B/segment + 100 MiB)\n",
        qPrintable(FormatMiB(load.peakKiB)), qPrintable(FormatMiB(memoryLimitKiB)));
    std::printf("slowest of %d, with repaint:\n", AnswerRuns);
    bool answersMet = true;
    for (const char *name : { "scroll", "page-down", "ctrl-end", "click" }) {
        const double ms = Value(load.output, name);
        answersMet = answersMet && ms <= AnswerTargetMs;
        std::printf("  %-26s %8.3f ms\n", name, ms);
    }
    std::printf("commands across the file, one run each:\n");
    const struct
    {
        const char *name;
        const char *label;
        const char *unit;
    } commands[] = {
        { "refresh-last", "status bar, last line", "ms" },
        { "next-of-type", "Next of type, ISA to end", "s" },
        { "goto-last-st", "Go To Line, last ST", "s" },
        { "find-at-end", "find, match at the end", "s" },
        { "find-at-end-case", "  the same, match case", "s" },
    };
    bool commandsEnded = true;
    for (const auto &c : commands) {
        const double value = Value(load.output, c.name);
        commandsEnded = commandsEnded && value >= 0;
        std::printf("  %-26s %8.3f %s\n", c.label, value, c.unit);
    }
    if (!commandsEnded)
        std::printf("a command did not end where it should (-1 above)\n");
    std::printf("target: open within %.1fx tr: %s (%.2fx)\n", OpenTargetRatio,
        ratio <= OpenTargetRatio ? "met" : "MISSED", ratio);
    std::printf("target: peak memory within the limit: %s\n",
        load.peakKiB <= memoryLimitKiB ? "met" : "MISSED");
    std::printf(
        "target: every answer within %.0f ms: %s\n", AnswerTargetMs, answersMet ? "met" : "MISSED");
    return 0;
}
