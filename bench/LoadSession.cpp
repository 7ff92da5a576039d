#include "LoadSession.h"

#include "CommandTargets.h"
#include "FindDialog.h"
#include "LineSource.h"
#include "MessageBoxes.h"
#include "RawDataView.h"
#include "frmGoTo.h"
#include "frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

// Runs of each interaction, while the load goes on and again after it.
constexpr int AnswerRuns = 20;
// Pauses between two rounds of interactions while the file loads: at least one look of the
// window at the indexing, at most a second.
constexpr qint64 ShortestGapMs = 30;
constexpr qint64 LongestGapMs = 1000;
// How long a load may take before the run counts as hung: a minute, and a minute a GiB.
constexpr qint64 LoadDeadlineMs = 60000;
constexpr qint64 DeadlineMsPerGiB = 60000;

[[noreturn]] void Fail(const QString &message)
{
    throw std::runtime_error(message.toStdString());
}

double MsSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The process's resident memory now and at its highest so far, from /proc/self/status.
struct Memory
{
    qint64 peakKiB = 0;
    qint64 residentKiB = 0;
};

Memory MemoryNow()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        Fail(QStringLiteral("cannot read /proc/self/status"));
    Memory memory;
    for (const QByteArray &line : status.readAll().split('\n')) {
        const auto value = [&] { return line.mid(6).trimmed().split(' ').value(0).toLongLong(); };
        if (line.startsWith("VmHWM:"))
            memory.peakKiB = value();
        else if (line.startsWith("VmRSS:"))
            memory.residentKiB = value();
    }
    if (memory.peakKiB <= 0 || memory.residentKiB <= 0)
        Fail(QStringLiteral("no VmHWM or VmRSS in /proc/self/status"));
    return memory;
}

// The size of the largest file this process holds open in the temporary folder: the index,
// which has no name there (it shows as "#inode (deleted)"), or one that the index's fallback
// named. -1 when there is none.
qint64 IndexFileBytes()
{
    const QByteArray folder
        = QFile::encodeName(QFileInfo(QDir::tempPath()).canonicalFilePath()) + '/';
    qint64 largest = -1;
    const QStringList fds = QDir(QStringLiteral("/proc/self/fd"))
                                .entryList(QDir::System | QDir::AllEntries | QDir::NoDotAndDotDot);
    for (const QString &fd : fds) {
        char target[4096];
        const QByteArray link = QFile::encodeName(QStringLiteral("/proc/self/fd/") + fd);
        const ssize_t length = readlink(link.constData(), target, sizeof target);
        if (length <= 0 || !QByteArrayView(target, length).startsWith(folder))
            continue;
        struct stat st
        {
        };
        if (fstat(fd.toInt(), &st) == 0 && S_ISREG(st.st_mode))
            largest = std::max<qint64>(largest, st.st_size);
    }
    return largest;
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

// Notes the view's paints: how many lines there were and whether they were all of them.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(RawDataView &view)
        : view_(view)
    {
        view.viewport()->installEventFilter(this);
    }

    // Whether a paint has shown a full screen of lines, or every line of a shorter file.
    bool ScreenPainted() const { return screenPainted_; }
    qint64 LinesPainted() const { return linesPainted_; }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || screenPainted_ || !view_.Model().Source())
            return false;
        // The model's last line is the empty one after the text.
        linesPainted_ = view_.Model().LineCount() - 1;
        screenPainted_ = linesPainted_ >= view_.PageLines() || view_.Model().Source()->Complete();
        return false;
    }

private:
    RawDataView &view_;
    bool screenPainted_ = false;
    qint64 linesPainted_ = 0;
};

// Something a user does in the view, timed with the repaint it causes; prepare runs untimed
// before it.
struct Interaction
{
    const char *name;
    std::function<void(int run)> act;
    std::function<void()> prepare = {};
};

class Session
{
public:
    // message: where the first message box the window shows goes, instead of the box.
    Session(const QString &path, qint64 fileSize, const QString &message);
    void Run();

private:
    template<class T>
    T &Control(const char *name);
    QAction *Item(const char *name) { return &Control<QAction>(name); }
    void CheckNoMessage() const;
    LineSource &Lines() const { return *view_.Model().Source(); }
    qint64 LastLine() const { return view_.Model().LineCount() - 2; }

    // Handles the events there are, once, and notes when the window shows the load's end.
    void Pump();
    void PumpUntil(const std::function<bool()> &done, const char *waitingFor);
    std::vector<Interaction> Interactions();
    double TimeMs(const Interaction &interaction, int run);
    // Whether the Problems list shows the whole file's check, not what it found so far.
    bool CheckShownComplete() const
    {
        const QString summary = problemsSummary_.text();
        return !summary.isEmpty() && !summary.endsWith(QStringLiteral(" so far"));
    }
    void InteractWhileLoading();
    void InteractAfterLoad();
    void RunCommands();
    void GoToLastSet(const CommandTargets &targets);
    void FindLastText(const CommandTargets &targets);

    const QString path_;
    const qint64 deadlineMs_;
    const QString &message_;
    TForm1 window_ { QStringList() };
    RawDataView &view_ = Control<RawDataView>("Memo1");
    QProgressBar &bar_ = Control<QProgressBar>("ProgressBar1");
    QLabel &problemsSummary_ = Control<QLabel>("problemsSummary");
    PaintWatch paints_ { view_ };
    QElapsedTimer sinceLoad_;
    bool loadEnded_ = false;
    double longestBusyMs_ = 0; // the longest event handling while the file loaded
};

Session::Session(const QString &path, qint64 fileSize, const QString &message)
    : path_(path)
    , deadlineMs_(LoadDeadlineMs + DeadlineMsPerGiB * (fileSize >> 30))
    , message_(message)
{ }

template<class T>
T &Session::Control(const char *name)
{
    T *control = window_.findChild<T *>(QLatin1String(name));
    if (!control)
        Fail(QStringLiteral("the main window has no %1").arg(QLatin1String(name)));
    return *control;
}

void Session::CheckNoMessage() const
{
    if (!message_.isEmpty())
        Fail(QStringLiteral("the window said: %1").arg(message_));
}

void Session::Pump()
{
    QElapsedTimer busy;
    busy.start();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    CheckNoMessage();
    if (loadEnded_)
        return;
    longestBusyMs_ = std::max(longestBusyMs_, MsSince(busy));
    if (!bar_.isHidden())
        return;
    // The window has seen the end of the indexing and hidden its progress bar.
    loadEnded_ = true;
    std::printf("full-index %.6f\n", MsSince(sinceLoad_) / 1e3);
    const Memory memory = MemoryNow();
    std::printf("peak-load %lld\nresident-load %lld\n", static_cast<long long>(memory.peakKiB),
        static_cast<long long>(memory.residentKiB));
    std::printf("index-bytes %lld\n", static_cast<long long>(IndexFileBytes()));
    if (!Lines().Complete())
        Fail(QStringLiteral("the progress bar went before the file was indexed"));
}

void Session::PumpUntil(const std::function<bool()> &done, const char *waitingFor)
{
    while (!done()) {
        Pump();
        if (done())
            return;
        if (MsSince(sinceLoad_) > double(deadlineMs_))
            Fail(QStringLiteral("no %1 after %2 s").arg(waitingFor).arg(deadlineMs_ / 1000));
        // The load's thread needs the processor more than this loop does.
        QThread::usleep(500);
    }
}

std::vector<Interaction> Session::Interactions()
{
    QScrollBar *scrollBar = view_.verticalScrollBar();
    const auto scrollTo = [scrollBar](int percent) {
        scrollBar->setValue(int(qint64(scrollBar->maximum()) * percent / 100));
    };
    return {
        { "scroll", [scrollTo](int run) { scrollTo((run * 37) % 100); } },
        { "page-down", [this](int) { Key(view_, Qt::Key_PageDown); } },
        { "ctrl-end",
            [this](int run) {
                Key(view_, run % 2 ? Qt::Key_Home : Qt::Key_End, Qt::ControlModifier);
            } },
        { "click",
            [this, scrollTo](int run) {
                scrollTo((run * 53) % 100);
                Click(view_, QPoint(40 + run * 7, 10 + run * 13));
            } },
        // What a click runs, with the caret at the end of the last line there is.
        { "refresh-last", [this](int) { emit view_.Clicked(); },
            [this] {
                view_.SetSelStart(
                    view_.LineIndex(LastLine()) + view_.Model().LineLength(LastLine()));
            } },
    };
}

double Session::TimeMs(const Interaction &interaction, int run)
{
    if (interaction.prepare)
        interaction.prepare();
    QElapsedTimer timer;
    timer.start();
    interaction.act(run);
    view_.viewport()->repaint();
    const double ms = MsSince(timer);
    CheckNoMessage();
    return ms;
}

// Rounds of every interaction, spread over the load by its progress, with the window's events
// handled between them; a round counts when the file was still being indexed at its end.
void Session::InteractWhileLoading()
{
    const std::vector<Interaction> interactions = Interactions();
    std::vector<double> slowest(interactions.size(), 0);
    int rounds = 0;
    for (int round = 0; round < AnswerRuns && !loadEnded_; ++round) {
        std::vector<double> ms;
        ms.reserve(interactions.size());
        for (const Interaction &interaction : interactions)
            ms.push_back(TimeMs(interaction, round));
        if (!Lines().Complete()) {
            ++rounds;
            for (size_t i = 0; i < ms.size(); ++i)
                slowest[i] = std::max(slowest[i], ms[i]);
        }
        // The time the load still needs, from its progress, shared among the rounds to come.
        const double elapsed = MsSince(sinceLoad_);
        const int percent = std::max(1, bar_.value());
        const double remaining = elapsed * (100 - percent) / percent;
        const double gap = std::clamp(
            remaining / (AnswerRuns - round), double(ShortestGapMs), double(LongestGapMs));
        const double until = elapsed + gap;
        PumpUntil([&] { return loadEnded_ || MsSince(sinceLoad_) >= until; }, "end of the load");
    }
    std::printf("rounds-during-load %d\n", rounds);
    for (size_t i = 0; i < interactions.size() && rounds > 0; ++i)
        std::printf("during-%s %.3f\n", interactions[i].name, slowest[i]);
}

void Session::InteractAfterLoad()
{
    const std::vector<Interaction> interactions = Interactions();
    view_.SetSelStart(0);
    for (const Interaction &interaction : interactions) {
        double slowest = 0;
        for (int run = 0; run < AnswerRuns; ++run)
            slowest = std::max(slowest, TimeMs(interaction, run));
        std::printf("after-%s %.3f\n", interaction.name, slowest);
    }
    // The last refresh described the end of the last line.
    const QString position = QStringLiteral("Line: %1 Col: %2")
                                 .arg(LastLine() + 1)
                                 .arg(view_.Model().LineLength(LastLine()) + 1);
    const QString shown = Control<QLabel>("StatusPanel0").text();
    if (shown != position && !shown.startsWith(position + u' '))
        Fail(QStringLiteral("the status bar shows \"%1\", not \"%2...\"").arg(shown, position));
}

// Times one command, which must leave the caret at the start of line.
void TimeCommandTo(
    const char *name, RawDataView &view, qint64 line, const std::function<void()> &command)
{
    QElapsedTimer timer;
    timer.start();
    command();
    const double seconds = MsSince(timer) / 1e3;
    if (view.SelStart() != view.LineIndex(line) || view.SelLength() != 0)
        Fail(QStringLiteral("%1 ended on line %2, not on line %3")
                 .arg(QLatin1String(name))
                 .arg(view.CaretPos().Line.Value + 1)
                 .arg(line + 1));
    std::printf("%s %.6f\n", name, seconds);
}

void Session::RunCommands()
{
    const CommandTargets targets = CommandTargets::Of(Lines());
    if (targets.stepFrom < 0) {
        std::printf("skip next-of-type no segment type occurs twice\n");
    } else {
        view_.SetSelStart(view_.LineIndex(targets.stepFrom));
        TimeCommandTo("next-of-type", view_, targets.stepTo,
            [&] { Item("GotoNextMatchingSegmentType1")->trigger(); });
        std::printf("next-of-type-lines %lld %lld %s\n", static_cast<long long>(targets.stepFrom),
            static_cast<long long>(targets.stepTo), targets.stepType.constData());
    }
    CheckNoMessage();
    GoToLastSet(targets);
    CheckNoMessage();
    FindLastText(targets);
    CheckNoMessage();
}

void Session::GoToLastSet(const CommandTargets &targets)
{
    if (targets.lastSet < 0) {
        std::printf("skip goto-last-st the file has no ST segment\n");
        return;
    }
    TGoToForm goTo;
    window_.SetGoToForm(&goTo);
    QTimer::singleShot(0, &goTo, [&] {
        goTo.Edit1->setText(QString::number(targets.setCount));
        goTo.Edit2->setText(QStringLiteral("ST"));
        goTo.GoToButton->click();
    });
    TimeCommandTo("goto-last-st", view_, targets.lastSet, [&] { Item("GotoLine1")->trigger(); });
    window_.SetGoToForm(nullptr);
    std::printf("goto-last-st-lines %lld %lld\n", static_cast<long long>(targets.setCount),
        static_cast<long long>(targets.lastSet));
}

// Finds the last segment's text from the top, ignoring case and matching it. The text may
// stand earlier too: the find ends there, and the line it ended on is reported.
void Session::FindLastText(const CommandTargets &targets)
{
    if (targets.lastText.isEmpty()) {
        std::printf("skip find-at-end the last segment starts with no text to find\n");
        return;
    }
    FindDialog &find = Control<FindDialog>("FindDialog1");
    const QString text = QString::fromLatin1(targets.lastText);
    find.FindWhat->setText(text);
    for (const bool matchCase : { false, true }) {
        const char *name = matchCase ? "find-at-end-case" : "find-at-end";
        find.MatchCaseBox->setChecked(matchCase);
        view_.SetSelStart(0);
        QElapsedTimer timer;
        timer.start();
        Item("FindNext1")->trigger();
        const double seconds = MsSince(timer) / 1e3;
        CheckNoMessage();
        const QString found = QString::fromLatin1(view_.SelectedText());
        if (found.compare(text, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive) != 0)
            Fail(QStringLiteral("the find selected \"%1\", not \"%2\"").arg(found, text));
        std::printf("%s %.6f\n%s-line %lld\n", name, seconds, name,
            static_cast<long long>(view_.LineFromChar(view_.SelStart())));
    }
}

void Session::Run()
{
    window_.resize(900, 700);
    window_.show();
    QApplication::processEvents();

    sinceLoad_.start();
    MessageBoxes::Guarded([&] { window_.LoadFile(path_); });
    std::printf("load-file-returns %.6f\n", MsSince(sinceLoad_) / 1e3);
    CheckNoMessage();
    if (bar_.isHidden())
        Fail(QStringLiteral("the progress bar did not show"));

    PumpUntil([&] { return paints_.ScreenPainted(); }, "first screen");
    std::printf("first-screen %.6f\nfirst-screen-lines %lld\n", MsSince(sinceLoad_) / 1e3,
        static_cast<long long>(paints_.LinesPainted()));
    std::printf("resident-first %lld\n", static_cast<long long>(MemoryNow().residentKiB));

    InteractWhileLoading();
    PumpUntil([&] { return loadEnded_; }, "end of the load");
    std::printf("busy-during-load %.3f\n", longestBusyMs_);
    std::printf("segments %lld\n", static_cast<long long>(LastLine() + 1));
    // The envelope check runs beside the indexing and may end a little after it.
    PumpUntil([&] { return CheckShownComplete(); }, "end of the envelope check");
    std::printf("check-complete %.6f\n", MsSince(sinceLoad_) / 1e3);

    InteractAfterLoad();
    RunCommands();
    const Memory memory = MemoryNow();
    std::printf("peak-end %lld\nresident-end %lld\n", static_cast<long long>(memory.peakKiB),
        static_cast<long long>(memory.residentKiB));
}

} // namespace

namespace LoadSession {

int Run(int argc, char *argv[], const QString &path)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window's settings and recent files go to a folder of the run's, not the user's.
    QTemporaryDir home;
    if (!home.isValid()) {
        std::fputs("cannot make a temporary folder for the settings\n", stderr);
        return 1;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    QApplication app(argc, argv);
    // Set before the window exists: a box shown offscreen would wait for ever.
    QString message;
    MessageBoxes::SetReporter([&](MessageBoxes::Kind, const QString &, const QString &text) {
        if (message.isEmpty())
            message = text;
    });
    try {
        Session session(path, QFileInfo(path).size(), message);
        session.Run();
    } catch (const std::exception &e) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fflush(stdout);
    return 0;
}

} // namespace LoadSession
