#include "BenchFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include <algorithm>
#include <cstdio>

QString EnsureBenchFile(const QString &folder, const QString &prefix, qint64 size,
    X12Generator::LineBreaks breaks, const QString &breaksName, bool secondInterchange)
{
    QDir().mkpath(folder);
    QString path = QStringLiteral("%1/%2-%3-%4.x12").arg(folder, prefix).arg(size).arg(breaksName);
    if (QFileInfo(path).size() >= size)
        return path;
    std::printf("generating %s ...\n", qPrintable(path));
    std::fflush(stdout);
    const QByteArray name = QFile::encodeName(path);
    std::FILE *out = std::fopen(name.constData(), "wb");
    if (!out)
        return {};
    X12Generator::Options options;
    options.size = size;
    options.breaks = breaks;
    options.secondInterchange = secondInterchange;
    X12Generator(options).Write(out);
    // A file cut short (a full disk) would be timed as if whole. Written out before it is
    // timed: the disk's writing of gigabytes just generated would slow the first runs.
    const bool failed = std::fflush(out) != 0 || std::ferror(out) || ::fsync(fileno(out)) != 0;
    if (std::fclose(out) != 0 || failed) {
        std::remove(name.constData());
        return {};
    }
    return path;
}

bool ParseBenchFileOptions(const QStringList &args, const char *program, BenchFileOptions &options)
{
    bool usage = false;
    for (int i = 1; i < args.size(); i += 2) {
        const QString &option = args[i];
        const QString value = args.value(i + 1);
        if (option == QLatin1String("--size"))
            usage = usage || !X12Generator::ParseSize(value.toLocal8Bit(), options.size);
        else if (option == QLatin1String("--breaks"))
            options.breaksName = value.toLocal8Bit();
        else if (option == QLatin1String("--file"))
            options.file = value;
        else if (option == QLatin1String("--data"))
            options.folder = value;
        else if (option == QLatin1String("--runs"))
            options.runs = std::max(1, value.toInt());
        else
            usage = true;
    }
    if (options.folder.isEmpty())
        options.folder = QDir::currentPath() + QLatin1String("/bench-data");
    if (usage || !X12Generator::ParseLineBreaks(options.breaksName, options.breaks)) {
        std::fprintf(stderr,
            "Usage: %s [--size N[K|M|G]] [--breaks crlf|lf|none] [--file PATH] "
            "[--data FOLDER] [--runs N]\n",
            program);
        return false;
    }
    return true;
}

QString BenchFilePath(
    const BenchFileOptions &options, const QString &prefix, bool secondInterchange)
{
    if (!options.file.isEmpty())
        return options.file;
    QString file = EnsureBenchFile(options.folder, prefix, options.size, options.breaks,
        QString::fromLatin1(options.breaksName), secondInterchange);
    if (file.isEmpty())
        std::fputs("cannot write the generated file\n", stderr);
    return file;
}

Measurement MeasureTr(const QString &file, int runs, const QString &output)
{
    return BestOf(runs, { QStringLiteral("tr"), QStringLiteral("~"), QStringLiteral("\n") },
        { file, output.isEmpty(), false, output });
}
