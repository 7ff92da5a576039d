// Find in Files benchmark: brimlet-cli find with subfolders over a generated corpus against
// grep -rl over the same corpus, each in a child process, best of a few warm runs; and whether
// the search found exactly the X12 files that hold the marker within a segment.

#include "Measure.h"
#include "SearchCorpus.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QSet>

#include <cstdio>

namespace {

QSet<QString> RelativePaths(const QByteArray &output, const QString &corpus, bool firstField)
{
    const QString prefix = corpus + u'/';
    QSet<QString> paths;
    for (QByteArray line : output.split('\n')) {
        if (firstField)
            line = line.left(line.indexOf('\t'));
        const QString path = QFile::decodeName(line);
        if (path.startsWith(prefix))
            paths.insert(path.mid(prefix.size()));
    }
    return paths;
}

QSet<QString> ReadList(const QString &path)
{
    QFile file(path);
    QSet<QString> set;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (!line.isEmpty())
                set.insert(QString::fromUtf8(line));
        }
    }
    return set;
}

bool WriteList(const QString &path, const QStringList &list)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write((list.join(u'\n') + u'\n').toUtf8()) > 0;
}

// The corpus and its lists of expected files, generated once for a given number and size of
// files.
bool EnsureCorpus(const QString &folder, const SearchCorpus::Options &options, bool regenerate)
{
    const QString stamp = folder + QLatin1String(".files");
    const QString shape = QStringLiteral("%1 %2").arg(options.files).arg(options.fileSize);
    QFile stampFile(stamp);
    if (!regenerate && stampFile.open(QIODevice::ReadOnly)
        && stampFile.readAll().trimmed() == shape.toLatin1())
        return true;
    stampFile.close();
    std::printf("generating %d files in %s ...\n", options.files, qPrintable(folder));
    std::fflush(stdout);
    SearchCorpus corpus(options);
    if (!corpus.Write(folder))
        return false;
    return WriteList(folder + QLatin1String(".x12-marker"), corpus.X12WithMarker())
        && WriteList(folder + QLatin1String(".x12-marker-any-case"), corpus.X12WithMarkerAnyCase())
        && WriteList(folder + QLatin1String(".all-marker"), corpus.AllWithMarker())
        && WriteList(stamp, { shape });
}

qint64 FolderBytes(const QString &folder, int &files)
{
    qint64 bytes = 0;
    files = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        bytes += it.fileInfo().size();
        ++files;
    }
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    int files = 0;
    int runs = 3;
    bool regenerate = false;
    bool small = false;
    QString data = QDir::currentPath() + QLatin1String("/bench-data");
    for (int i = 1; i < args.size(); ++i) {
        const bool hasValue = i + 1 < args.size();
        if (args[i] == QLatin1String("--files") && hasValue)
            files = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--small"))
            small = true;
        else if (args[i] == QLatin1String("--runs") && hasValue)
            runs = std::max(1, args[++i].toInt());
        else if (args[i] == QLatin1String("--data") && hasValue)
            data = args[++i];
        else if (args[i] == QLatin1String("--regenerate"))
            regenerate = true;
        else {
            std::fputs("Usage: bench_search [--small] [--files N] [--runs N] [--data FOLDER] "
                       "[--regenerate]\n",
                stderr);
            return 2;
        }
    }
    // Mixed sizes, or many small files, where the cost of each file counts rather than its bytes.
    SearchCorpus::Options options;
    options.files = files > 0 ? files : small ? 20000 : 3000;
    options.fileSize = small ? 2048 : 0;
    const QString corpus = QDir(data).absoluteFilePath(
        small ? QStringLiteral("search-corpus-small") : QStringLiteral("search-corpus"));
    QDir().mkpath(data);
    if (!EnsureCorpus(corpus, options, regenerate)) {
        std::fputs("cannot write the corpus\n", stderr);
        return 1;
    }

    const QString cli = QCoreApplication::applicationDirPath() + QLatin1String("/brimlet-cli");
    const QString marker = QString::fromLatin1(SearchCorpus::Marker);
    const ChildIo capture { {}, false, true, {} };
    const QStringList grepCommand
        = { QStringLiteral("grep"), QStringLiteral("-rl"), marker, corpus };
    RunMeasured(grepCommand, capture); // warms the page cache
    const Measurement grep = BestOf(runs, grepCommand, capture);
    const Measurement search = BestOf(runs,
        { cli, QStringLiteral("find"), corpus, marker, QStringLiteral("--subdirs"),
            QStringLiteral("--match-case") },
        capture);
    const Measurement grepCase
        = BestOf(runs, { QStringLiteral("grep"), QStringLiteral("-rli"), marker, corpus }, capture);
    const Measurement searchCase = BestOf(runs,
        { cli, QStringLiteral("find"), corpus, marker, QStringLiteral("--subdirs") }, capture);
    if (search.exitStatus != 0 || searchCase.exitStatus != 0 || grep.exitStatus != 0) {
        std::fputs("a measured run failed\n", stderr);
        return 1;
    }

    const QSet<QString> expected = ReadList(corpus + QLatin1String(".x12-marker"));
    const QSet<QString> expectedAnyCase = ReadList(corpus + QLatin1String(".x12-marker-any-case"));
    const QSet<QString> found = RelativePaths(search.output, corpus, true);
    const QSet<QString> foundAnyCase = RelativePaths(searchCase.output, corpus, true);
    const QSet<QString> grepFound = RelativePaths(grep.output, corpus, false);
    int fileCount = 0;
    const qint64 bytes = FolderBytes(corpus, fileCount);

    std::printf("corpus          %s\n", qPrintable(corpus));
    std::printf("size            %d files, %.1f MiB; marker %s\n", fileCount,
        double(bytes) / (1024.0 * 1024.0), SearchCorpus::Marker.constData());
    std::printf("best of %d runs each, warm page cache\n", runs);
    std::printf("%-40s %8s %12s %8s %7s\n", "", "time", "peak memory", "vs grep", "files");
    const auto row
        = [&](const char *name, const Measurement &m, const Measurement &base, qsizetype count) {
              std::printf("%-40s %7.3fs %12s %7.2fx %7lld\n", name, m.seconds,
                  qPrintable(FormatMiB(m.peakKiB)), m.seconds / base.seconds,
                  static_cast<long long>(count));
          };
    row("grep -rl MARKER", grep, grep, grepFound.size());
    row("brimlet-cli find --subdirs --match-case", search, grep, found.size());
    row("grep -rli MARKER", grepCase, grepCase,
        RelativePaths(grepCase.output, corpus, false).size());
    row("brimlet-cli find --subdirs", searchCase, grepCase, foundAnyCase.size());

    const double ratio = search.seconds / grep.seconds;
    std::printf("grep also lists %lld files that are not X12 or hold the marker only across a "
                "segment boundary\n",
        static_cast<long long>((grepFound - found).size()));
    std::printf("result: exactly the %lld X12 files holding the marker in a segment: %s\n",
        static_cast<long long>(expected.size()), found == expected ? "yes" : "NO");
    std::printf("result ignoring case: exactly the %lld expected files: %s\n",
        static_cast<long long>(expectedAnyCase.size()),
        foundAnyCase == expectedAnyCase ? "yes" : "NO");
    std::printf(
        "target: search within 1.5x grep: %s (%.2fx)\n", ratio <= 1.5 ? "met" : "MISSED", ratio);
    return found == expected && foundAnyCase == expectedAnyCase ? 0 : 1;
}
