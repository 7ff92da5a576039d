#include "EnvelopeCommands.h"

#include "EnvelopeChecker.h"
#include "GFileIO.h"
#include "OutlineWords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLocale>

#include <cstdio>
#include <optional>

namespace {

struct Options
{
    QString file;
    bool json = false;
};

// FILE and --json in any order; "--" ends the options.
std::optional<Options> Parse(const QStringList &args)
{
    Options options;
    QStringList positional;
    bool optionsEnd = false;
    for (const QString &arg : args) {
        if (optionsEnd || !arg.startsWith(QLatin1String("--")))
            positional.append(arg);
        else if (arg == QLatin1String("--"))
            optionsEnd = true;
        else if (arg == QLatin1String("--json"))
            options.json = true;
        else
            return std::nullopt;
    }
    if (positional.size() != 1)
        return std::nullopt;
    options.file = positional[0];
    return options;
}

struct Checked
{
    EnvelopeOutline outline;
    EnvelopeProblems problems;
};

// The check runs in the reader's index pass.
Checked CheckFile(const QString &path)
{
    TGFile reader(path);
    EnvelopeChecker checker;
    reader.SetScanObserver(checker.Observer());
    reader.SegmentCount();
    checker.Finish();
    return { checker.TakeOutline(), checker.TakeProblems() };
}

void Write(const QByteArray &bytes)
{
    std::fwrite(bytes.data(), 1, size_t(bytes.size()), stdout);
}

void Line(qint64 segment, int depth, const char *id, const QByteArray &details)
{
    Write(QByteArray::number(segment) + '\t' + QByteArray(2 * depth, ' ') + id + '\t' + details
        + '\n');
}

// Nested as the envelopes are; an envelope that no ISA or GS opens has no line, and what it
// holds stands one level up.
void PrintOutline(const EnvelopeOutline &o)
{
    for (qint64 i = 0; i < o.InterchangeCount(); ++i) {
        const InterchangeRecord &isa = o.Interchange(i);
        const int groupDepth = isa.Implicit ? 0 : 1;
        if (!isa.Implicit)
            Line(isa.First, 0, "ISA", OutlineWords::Interchange(o, i));
        for (qint64 g = isa.FirstGroup; g < isa.FirstGroup + isa.GroupCount; ++g) {
            const GroupRecord &gs = o.Group(g);
            const int setDepth = gs.Implicit ? groupDepth : groupDepth + 1;
            if (!gs.Implicit)
                Line(gs.First, groupDepth, "GS", OutlineWords::Group(o, g));
            for (qint64 s = gs.FirstSet; s < gs.FirstSet + gs.SetCount; ++s)
                Line(o.Set(s).First, setDepth, "ST", OutlineWords::Set(o, s));
        }
    }
}

QString Text(const EnvelopeOutline &o, TextBlocks::Ref ref)
{
    return QString::fromLatin1(o.Text(ref));
}

QJsonValue SegmentOf(qint64 first, bool implicit)
{
    return implicit ? QJsonValue(QJsonValue::Null) : QJsonValue(double(first));
}

// An object's JSON without its closing brace, for a list to follow inside it.
QByteArray Opened(const QJsonObject &object)
{
    QByteArray json = QJsonDocument(object).toJson(QJsonDocument::Compact);
    json.chop(1);
    return json;
}

// The outline as one JSON document, written a record at a time: a file's outline may hold
// hundreds of thousands of sets.
void PrintOutlineJson(const EnvelopeOutline &o)
{
    Write("{\"interchanges\":[");
    for (qint64 i = 0; i < o.InterchangeCount(); ++i) {
        const InterchangeRecord &isa = o.Interchange(i);
        Write(i ? ",\n" : "\n");
        Write(Opened({ { "segment", SegmentOf(isa.First, isa.Implicit) },
                  { "end", double(isa.Last) }, { "closed", isa.Closed },
                  { "implicit", isa.Implicit }, { "senderQualifier", Text(o, isa.SenderQualifier) },
                  { "sender", Text(o, isa.Sender) },
                  { "receiverQualifier", Text(o, isa.ReceiverQualifier) },
                  { "receiver", Text(o, isa.Receiver) }, { "date", Text(o, isa.Date) },
                  { "time", Text(o, isa.Time) }, { "control", Text(o, isa.Control) },
                  { "groupCount", double(isa.GsCount) } })
            + ",\"groups\":[");
        for (qint64 g = isa.FirstGroup; g < isa.FirstGroup + isa.GroupCount; ++g) {
            const GroupRecord &gs = o.Group(g);
            Write(g > isa.FirstGroup ? "," : "");
            Write(Opened(
                      { { "segment", SegmentOf(gs.First, gs.Implicit) }, { "end", double(gs.Last) },
                          { "closed", gs.Closed }, { "implicit", gs.Implicit },
                          { "function", Text(o, gs.Function) }, { "sender", Text(o, gs.Sender) },
                          { "receiver", Text(o, gs.Receiver) }, { "control", Text(o, gs.Control) },
                          { "version", Text(o, gs.Version) }, { "setCount", double(gs.SetCount) } })
                + ",\"sets\":[");
            for (qint64 s = gs.FirstSet; s < gs.FirstSet + gs.SetCount; ++s) {
                const SetRecord &st = o.Set(s);
                Write(s > gs.FirstSet ? "," : "");
                Write(QJsonDocument(
                    QJsonObject({ { "segment", double(st.First) }, { "end", double(st.Last) },
                        { "closed", st.Closed }, { "type", Text(o, st.Type) },
                        { "control", Text(o, st.Control) },
                        { "convention", Text(o, st.Convention) },
                        { "segmentCount", double(st.SegmentCount()) } }))
                          .toJson(QJsonDocument::Compact));
            }
            Write("]}");
        }
        Write("]}");
    }
    Write("\n]}\n");
}

void TellOmitted(const EnvelopeProblems &problems)
{
    if (problems.Omitted() == 0)
        return;
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n",
        qPrintable(QStringLiteral("%1 more problems were found and not listed: only the first "
                                  "%2 are kept")
                       .arg(QLocale::system().toString(problems.Omitted()),
                           QLocale::system().toString(EnvelopeProblems::MaxKept))));
}

} // namespace

namespace EnvelopeCommands {

int Check(const QStringList &args)
{
    const std::optional<Options> options = Parse(args);
    if (!options)
        return -1;
    const Checked checked = CheckFile(options->file);
    const EnvelopeProblems &problems = checked.problems;
    if (options->json) {
        QJsonArray list;
        for (qint64 i = 0; i < problems.Count(); ++i)
            list.append(QJsonObject({ { "segment", double(problems.Segment(i)) },
                { "message", problems.Message(i) } }));
        Write(QJsonDocument(
                  QJsonObject({ { "problems", list }, { "omitted", double(problems.Omitted()) } }))
                  .toJson(QJsonDocument::Compact)
            + '\n');
    } else {
        for (qint64 i = 0; i < problems.Count(); ++i)
            Write(QByteArray::number(problems.Segment(i)) + '\t'
                + problems.MessageBytes(i).toByteArray() + '\n');
    }
    TellOmitted(problems);
    return problems.IsEmpty() ? 0 : 1;
}

int Outline(const QStringList &args)
{
    const std::optional<Options> options = Parse(args);
    if (!options)
        return -1;
    const Checked checked = CheckFile(options->file);
    if (options->json)
        PrintOutlineJson(checked.outline);
    else
        PrintOutline(checked.outline);
    return 0;
}

} // namespace EnvelopeCommands
