#include "OutlineWords.h"

#include "PrintableText.h"

#include <QByteArrayList>

namespace OutlineWords {

namespace {

QByteArray Counted(qint64 n, const char *one, const char *many)
{
    return QByteArray::number(n) + ' ' + (n == 1 ? one : many);
}

// The parts that have a value, separated by commas.
class Parts
{
public:
    Parts(const EnvelopeOutline &outline, Options options)
        : outline_(outline)
        , options_(options)
    { }

    Parts &Add(const char *label, TextBlocks::Ref ref)
    {
        return Add(label, ref, TextBlocks::Empty);
    }
    // Two values in one part, as a qualifier and its identifier.
    Parts &Add(const char *label, TextBlocks::Ref a, TextBlocks::Ref b)
    {
        const QByteArray value = QByteArray(
            PrintableText::Of(outline_.Text(a)) + ' ' + PrintableText::Of(outline_.Text(b)))
                                     .trimmed();
        if (!value.isEmpty())
            parts_.append(label ? label + (' ' + value) : value);
        return *this;
    }
    Parts &Control(TextBlocks::Ref ref) { return options_.Control ? Add("control", ref) : *this; }
    Parts &Add(const QByteArray &part)
    {
        parts_.append(part);
        return *this;
    }
    Parts &Closed(bool closed, const char *id, qint64 last)
    {
        if (options_.Open)
            return *this;
        return Add(closed
                ? QByteArray("closed by " + QByteArray(id) + " at " + QByteArray::number(last))
                : QByteArray("no " + QByteArray(id)));
    }
    QByteArray Text() const { return parts_.join(", "); }

private:
    const EnvelopeOutline &outline_;
    Options options_;
    QByteArrayList parts_;
};

} // namespace

QByteArray Interchange(const EnvelopeOutline &outline, qint64 index, Options options)
{
    const InterchangeRecord &r = outline.Interchange(index);
    if (r.Implicit)
        return Counted(r.GroupCount, "group", "groups") + " that no ISA opens";
    return Parts(outline, options)
        .Control(r.Control)
        .Add("sender", r.SenderQualifier, r.Sender)
        .Add("receiver", r.ReceiverQualifier, r.Receiver)
        .Add("date", r.Date, r.Time)
        .Add(Counted(r.GsCount, "group", "groups"))
        .Closed(r.Closed, "IEA", r.Last)
        .Text();
}

QByteArray Group(const EnvelopeOutline &outline, qint64 index, Options options)
{
    const GroupRecord &r = outline.Group(index);
    if (r.Implicit)
        return Counted(r.SetCount, "set", "sets") + " that no GS opens";
    return Parts(outline, options)
        .Add(nullptr, r.Function)
        .Control(r.Control)
        .Add("sender", r.Sender)
        .Add("receiver", r.Receiver)
        .Add("version", r.Version)
        .Add(Counted(r.SetCount, "set", "sets"))
        .Closed(r.Closed, "GE", r.Last)
        .Text();
}

QByteArray Set(const EnvelopeOutline &outline, qint64 index, Options options)
{
    const SetRecord &r = outline.Set(index);
    return Parts(outline, options)
        .Add(nullptr, r.Type)
        .Control(r.Control)
        .Add("convention", r.Convention)
        .Add(Counted(r.SegmentCount(), "segment", "segments"))
        .Closed(r.Closed, "SE", r.Last)
        .Text();
}

} // namespace OutlineWords
