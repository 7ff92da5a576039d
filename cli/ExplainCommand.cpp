#include "ExplainCommand.h"

#include "CodeDictionary.h"
#include "ElementDictionary.h"
#include "Exception.h"
#include "GFileIO.h"
#include "SegmentExplanation.h"
#include "SettingsFolder.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <cstdio>

namespace ExplainCommand {

namespace {

constexpr int ExitRefused = 1;

// A field of an output line, with the bytes that would break the line's form escaped.
void WriteField(QByteArrayView bytes)
{
    for (const char c : bytes) {
        switch (c) {
        case '\t':
            std::fputs("\\t", stdout);
            break;
        case '\n':
            std::fputs("\\n", stdout);
            break;
        case '\r':
            std::fputs("\\r", stdout);
            break;
        case '\\':
            std::fputs("\\\\", stdout);
            break;
        default:
            std::fputc(c, stdout);
        }
    }
}

int Refuse(const QString &message)
{
    std::fprintf(stderr, "%s\n", qPrintable(message));
    return ExitRefused;
}

} // namespace

int Run(const QStringList &args)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,18}$"));
    if (args.size() != 2 || !digits.match(args[1]).hasMatch())
        return -1;
    const qint64 number = args[1].toLongLong();
    if (number < 1)
        return Refuse(QStringLiteral("Segments are numbered from 1."));

    const QString programFolder = QCoreApplication::applicationDirPath();
    ElementDictionary names;
    names.LoadFromFile(programFolder + QLatin1String("/Elements.ini"));
    CodeDictionary codes;
    codes.LoadShippedAndUser(programFolder, SettingsFolder::Path());
    // The lines that were skipped are told, and the rest of the files still used.
    for (const CodeDictionary::Problem &problem : codes.Problems())
        std::fprintf(stderr, "%s\n", qPrintable(problem.Message()));

    try {
        TGFile reader(args[0]);
        reader.GotoSegment(number);
        if (reader.CurrentSegment() != number)
            return Refuse(QStringLiteral("There is no segment %1: the file has %2 segments.")
                              .arg(number)
                              .arg(reader.CurrentSegment()));
        const SegmentExplanation explanation(
            reader.SegmentText(), reader.SegmentDelimiters(number), names, codes);
        for (const ElementRow &row : explanation.Rows()) {
            WriteField(row.Reference.toLatin1());
            std::fputc('\t', stdout);
            WriteField(row.Name.toUtf8());
            std::fputc('\t', stdout);
            WriteField(row.Value.toLatin1());
            std::fputc('\t', stdout);
            WriteField(row.Meaning.toUtf8());
            std::fputc('\n', stdout);
        }
        if (explanation.Truncated())
            std::fprintf(stderr, "Only the first %lld rows of the segment are shown.\n",
                static_cast<long long>(SegmentExplanation::RowLimit));
    } catch (const Exception &e) {
        return Refuse(e.Message());
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout))
        return Refuse(QStringLiteral("Cannot write the output"));
    return 0;
}

} // namespace ExplainCommand
