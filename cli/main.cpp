// brimlet-cli: the segment reader for scripts and for machines without a display.

#include "GFileIO.h"

#include "Exception.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;

const char Usage[] = "Usage: brimlet-cli COMMAND FILE\n"
                     "Reads an ASC X12 interchange file segment by segment.\n"
                     "\n"
                     "Commands:\n"
                     "  segments FILE   every segment's text, one per line, in file order\n"
                     "  count FILE      the number of segments\n"
                     "  index FILE      the segment index, one \"OFFSET LENGTH\" line per segment\n"
                     "  --help          this text\n";

void Write(QByteArrayView bytes)
{
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
}

void PrintSegments(TGFile &reader)
{
    const qint64 count = reader.SegmentCount();
    for (qint64 i = 1; i <= count; ++i) {
        reader.GotoSegment(i);
        Write(reader.SegmentText());
        std::fputc('\n', stdout);
    }
}

void PrintCount(TGFile &reader)
{
    std::printf("%lld\n", static_cast<long long>(reader.SegmentCount()));
}

void PrintIndex(TGFile &reader)
{
    const qint64 count = reader.SegmentCount();
    for (qint64 i = 1; i <= count; ++i) {
        const IndexRecord record = reader.SegmentRecord(i);
        std::printf("%lld %ld\n", static_cast<long long>(record.Offset), long(record.Length));
    }
}

int Fail(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return ExitRefused;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);

    if (args.size() == 1 && args[0] == QLatin1String("--help")) {
        std::fputs(Usage, stdout);
        return 0;
    }

    const std::map<QString, std::function<void(TGFile &)>> commands = {
        { QStringLiteral("segments"), PrintSegments },
        { QStringLiteral("count"), PrintCount },
        { QStringLiteral("index"), PrintIndex },
    };
    const auto command = args.isEmpty() ? commands.end() : commands.find(args[0]);
    if (command == commands.end() || args.size() != 2) {
        std::fputs(Usage, stderr);
        return ExitUsage;
    }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);
    try {
        TGFile reader(args[1]);
        command->second(reader);
    } catch (const Exception &e) {
        return Fail(e.Message());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Fail(QStringLiteral("Cannot write the output"));
    return 0;
}
