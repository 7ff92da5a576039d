// brimlet-cli: the segment reader for scripts and for machines without a display.

#include "GFileIO.h"

#include "EnvelopeCommands.h"
#include "Exception.h"
#include "ExplainCommand.h"
#include "FileNames.h"
#include "FolderSearch.h"
#include "IndexFileCleanup.h"
#include "SegmentLines.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <map>
#include <new>

#include <unistd.h>

namespace {

constexpr int ExitRefused = 1;
constexpr int ExitUsage = 2;

const char Usage[]
    = "Usage: brimlet-cli COMMAND FILE\n"
      "       brimlet-cli check|outline FILE [--json]\n"
      "       brimlet-cli find FOLDER TEXT [--filespec MASKS] [--subdirs] [--match-case]\n"
      "                        [--verbose] [--null]\n"
      "       brimlet-cli explain FILE SEGMENT\n"
      "Reads ASC X12 interchange files segment by segment.\n"
      "\n"
      "Commands:\n"
      "  segments FILE   every segment's text, one per line, in file order\n"
      "  count FILE      the number of segments\n"
      "  index FILE      the segment index, one \"OFFSET LENGTH\" line per segment\n"
      "  check FILE      the envelope check: counts, control numbers and what opens and\n"
      "                  closes what, one \"SEGMENT<tab>MESSAGE\" line per problem\n"
      "  outline FILE    every ISA, GS and ST, one \"SEGMENT<tab>ID<tab>DETAILS\" line each,\n"
      "                  ID indented to show the nesting\n"
      "  find FOLDER TEXT\n"
      "                  the X12 files in FOLDER with a segment holding TEXT, one\n"
      "                  \"PATH<tab>SIZE<tab>LAST MODIFIED\" line per file\n"
      "  explain FILE SEGMENT\n"
      "                  the elements of segment number SEGMENT (from 1), named, one\n"
      "                  \"REFERENCE<tab>NAME<tab>VALUE<tab>MEANING\" line per element,\n"
      "                  repetition and component (N101, EB03-2, SV101-2, HI01-2-1);\n"
      "                  VALUE is the file's bytes; a tab, line break or backslash in a\n"
      "                  field is written \\t, \\n, \\r or \\\\. Names come from\n"
      "                  Elements.ini, meanings from Codes.ini beside the program and\n"
      "                  from BrimletCodes.ini in the settings folder (~/.config)\n"
      "  --help          this text\n"
      "\n"
      "Options of find:\n"
      "  --filespec MASKS  file-name masks separated by \";\" (default \"*\"), e.g. "
      "\"*.x12;*.edi\"\n"
      "  --subdirs         search every folder below FOLDER too\n"
      "  --match-case      find TEXT only in the same letter case\n"
      "  --verbose         progress on stderr: each file read, each file refused\n"
      "  --null            end each line with a NUL byte instead of a line break, for names\n"
      "                    that hold line breaks or tabs\n"
      "  --                the arguments after it are FOLDER and TEXT even if they begin with -\n"
      "\n"
      "Options of check and outline:\n"
      "  --json            one JSON document instead of lines: {\"problems\": [...]} or\n"
      "                    {\"interchanges\": [...]} with their groups and sets nested\n"
      "\n"
      "Exit status: 0 when done (for check: the file is sound; for find: every candidate file\n"
      "was read, whether or not any holds TEXT), 1 when check lists problems or a file is\n"
      "refused or cannot be read (for find: some file or folder could not be searched; each\n"
      "is named on stderr), 2 for wrong usage.\n";

void Write(QByteArrayView bytes)
{
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
}

void PrintSegments(TGFile &reader)
{
    SegmentLines(STDOUT_FILENO).Write(reader);
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
    std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
    return ExitRefused;
}

int Finish()
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Fail(QStringLiteral("Cannot write the output"));
    return 0;
}

// brimlet-cli find: the Find in Files search, its result rows on stdout.
int Find(const QStringList &args)
{
    FolderSearchInputs inputs;
    bool verbose = false;
    bool null = false;
    QStringList positional;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (optionsEnd || !arg.startsWith(QLatin1String("--")))
            positional.append(arg);
        else if (arg == QLatin1String("--"))
            optionsEnd = true;
        else if (arg == QLatin1String("--filespec") && i + 1 < args.size())
            inputs.Filespec = args[++i];
        else if (arg == QLatin1String("--subdirs"))
            inputs.SearchSubdirectories = true;
        else if (arg == QLatin1String("--match-case"))
            inputs.MatchCase = true;
        else if (arg == QLatin1String("--verbose"))
            verbose = true;
        else if (arg == QLatin1String("--null"))
            null = true;
        else
            return -1;
    }
    if (positional.size() != 2)
        return -1;
    inputs.Folder = positional[0];
    inputs.SearchText = positional[1];

    FolderSearch::Callbacks callbacks;
    const auto toStderr = [](const QString &text) {
        std::fflush(stdout); // rows and messages in the order they happened
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    };
    if (verbose)
        callbacks.Status = toStderr;
    callbacks.Problem = [&](const QString &, const QString &message) { toStderr(message); };
    const char end = null ? '\0' : '\n';
    callbacks.AppendRow = [end](const SearchResultRow &row) {
        // The path's own bytes, whatever their encoding.
        Write(FileNames::Encode(row.Path()));
        Write(QByteArray(
            '\t' + row.Size.toLocal8Bit() + '\t' + row.LastModified.toLocal8Bit() + end));
    };
    FolderSearch search(inputs, callbacks);
    search.Run();
    const int status = Finish();
    return status == 0 && search.ProblemCount() > 0 ? ExitRefused : status;
}

int Run(const QStringList &args);

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // Interrupted, or its reader gone ("| head"), the tool leaves no index file behind.
    IndexFileCleanup::RemoveOnTerminatingSignals();
    try {
        // File names are taken byte for byte: not every name is valid UTF-8.
        return Run(FileNames::Arguments(argc, argv));
    } catch (const std::bad_alloc &) {
        return Fail(QStringLiteral("Out of memory."));
    } catch (const Exception &e) {
        return Fail(e.Message());
    }
}

namespace {

int Run(const QStringList &args)
{
    if (args.size() == 1 && args[0] == QLatin1String("--help")) {
        std::fputs(Usage, stdout);
        return 0;
    }

    static char outputBuffer[1 << 16];
    std::setvbuf(stdout, outputBuffer, _IOFBF, sizeof outputBuffer);

    if (!args.isEmpty() && args[0] == QLatin1String("find")) {
        const int status = Find(args.mid(1));
        if (status < 0)
            std::fputs(Usage, stderr);
        return status < 0 ? ExitUsage : status;
    }

    const std::map<QString, std::function<int(const QStringList &)>> fileCommands = {
        { QStringLiteral("check"), EnvelopeCommands::Check },
        { QStringLiteral("outline"), EnvelopeCommands::Outline },
        { QStringLiteral("explain"), ExplainCommand::Run },
    };
    if (const auto fileCommand = args.isEmpty() ? fileCommands.end() : fileCommands.find(args[0]);
        fileCommand != fileCommands.end()) {
        const int status = fileCommand->second(args.mid(1));
        if (status < 0) {
            std::fputs(Usage, stderr);
            return ExitUsage;
        }
        const int written = Finish();
        return written != 0 ? written : status;
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

    TGFile reader(args[1]);
    command->second(reader);
    return Finish();
}

} // namespace
