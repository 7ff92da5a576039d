#include "Measure.h"

#include <QElapsedTimer>
#include <QFile>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

Measurement RunMeasured(const QStringList &command, const ChildIo &io)
{
    std::vector<QByteArray> args;
    args.reserve(size_t(command.size()));
    for (const QString &a : command)
        args.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    argv.reserve(args.size() + 1);
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const QByteArray input = QFile::encodeName(io.input);
    const QByteArray output = QFile::encodeName(io.output);

    int pipeFds[2] = { -1, -1 };
    if (io.captureOutput && pipe(pipeFds) != 0)
        return {};

    Measurement m;
    QElapsedTimer timer;
    timer.start();
    const pid_t pid = fork();
    if (pid < 0) {
        if (io.captureOutput) {
            close(pipeFds[0]);
            close(pipeFds[1]);
        }
        return {};
    }
    if (pid == 0) {
        if (!input.isEmpty()) {
            // Without its input the child would read the benchmark's own.
            const int fd = open(input.constData(), O_RDONLY);
            if (fd < 0)
                _exit(127);
            dup2(fd, 0);
        }
        if (io.discardOutput) {
            const int fd = open("/dev/null", O_WRONLY);
            dup2(fd, 1);
        } else if (!output.isEmpty()) {
            const int fd = open(output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            if (fd < 0)
                _exit(127);
            dup2(fd, 1);
        } else if (io.captureOutput) {
            dup2(pipeFds[1], 1);
            close(pipeFds[0]);
        }
        execvp(argv[0], argv.data());
        _exit(127);
    }
    if (io.captureOutput) {
        close(pipeFds[1]);
        char buffer[4096];
        ssize_t n;
        while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            m.output.append(buffer, n);
        close(pipeFds[0]);
    }
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    m.seconds = double(timer.nsecsElapsed()) / 1e9;
    m.peakKiB = usage.ru_maxrss;
    m.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return m;
}

Measurement BestOf(int runs, const QStringList &command, const ChildIo &io)
{
    Measurement best = RunMeasured(command, io);
    for (int i = 1; i < runs; ++i) {
        Measurement m = RunMeasured(command, io);
        const qint64 peak = std::max(best.peakKiB, m.peakKiB);
        if (m.exitStatus != 0 || m.seconds < best.seconds)
            best = m;
        best.peakKiB = peak;
    }
    return best;
}

void WarmCache(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QByteArray block(1 << 20, Qt::Uninitialized);
    while (file.read(block.data(), block.size()) > 0) { }
}

QString FormatMiB(qint64 kib)
{
    return QString::number(double(kib) / 1024.0, 'f', 1) + QLatin1String(" MiB");
}
