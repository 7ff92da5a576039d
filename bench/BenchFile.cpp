#include "BenchFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

QString EnsureBenchFile(const QString &folder, const QString &prefix, qint64 size,
    X12Generator::LineBreaks breaks, const QString &breaksName, bool secondInterchange)
{
    QDir().mkpath(folder);
    const QString path
        = QStringLiteral("%1/%2-%3-%4.x12").arg(folder, prefix).arg(size).arg(breaksName);
    if (QFileInfo(path).size() >= size)
        return path;
    std::printf("generating %s ...\n", qPrintable(path));
    std::fflush(stdout);
    std::FILE *out = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!out)
        return {};
    X12Generator::Options options;
    options.size = size;
    options.breaks = breaks;
    options.secondInterchange = secondInterchange;
    X12Generator(options).Write(out);
    std::fclose(out);
    return path;
}
