#include "EnvelopeChecker.h"

#include "ControlNumber.h"
#include "InterchangeHeader.h"
#include "PrintableText.h"
#include "SegmentElements.h"

namespace {

constexpr qsizetype ShownValueLength = 35;
constexpr size_t MaxInterned = 65536;

// A value as a message shows it: without the spaces around it, "(empty)" for none, long ones
// cut, control characters by their code.
QByteArray Shown(QByteArrayView value)
{
    const QByteArrayView text = ControlNumber::WithoutSpaces(value);
    if (text.isEmpty())
        return "(empty)";
    if (text.size() > ShownValueLength)
        return PrintableText::Of(text.first(ShownValueLength)) + "...";
    return PrintableText::Of(text);
}

// "is 12", "is empty".
QByteArray Is(QByteArrayView value)
{
    const QByteArrayView text = ControlNumber::WithoutSpaces(value);
    return text.isEmpty() ? QByteArray("is empty") : "is " + Shown(text);
}

QByteArray Counted(qint64 n, const char *one, const char *many)
{
    return QByteArray::number(n) + ' ' + (n == 1 ? one : many);
}

// An envelope segment and its control number, as messages name it: "ST 0001", "GS" alone.
QByteArray Named(const char *id, QByteArrayView control)
{
    const QByteArrayView text = ControlNumber::WithoutSpaces(control);
    return text.isEmpty() ? QByteArray(id) : id + (' ' + Shown(text));
}

// What ended an envelope: "the GE at segment 40", "the next ST at segment 12", "the end of
// the file".
QByteArray EndedBy(QByteArrayView id, qint64 number)
{
    if (id.isEmpty())
        return "the end of the file";
    const bool next = id == "ST" || id == "GS" || id == "ISA";
    return (next ? "the next " : "the ") + id.toByteArray() + " at segment "
        + QByteArray::number(number);
}

// A segment id of one to three bytes packed into a number with its length, so that the ids the
// check looks at are told by one comparison each; 0 for other ids.
constexpr quint32 IdCode(const char *id, qsizetype length)
{
    quint32 code = quint32(length);
    for (qsizetype k = 0; k < length; ++k)
        code = code << 8 | uchar(id[k]);
    return length > 0 ? code : 0;
}

template<size_t N>
constexpr quint32 IdCode(const char (&id)[N])
{
    return IdCode(id, N - 1);
}

quint32 IdCodeOf(QByteArrayView head, char separator)
{
    qsizetype k = 0;
    while (k < head.size() && head[k] != separator) {
        if (++k > 3)
            return 0;
    }
    return IdCode(head.data(), k);
}

} // namespace

// What a closing segment's first two elements say: a count of what it closes, and the control
// number of the segment that opened it.
struct EnvelopeChecker::Trailer
{
    const char *count; // "SE01"
    const char *holder; // "the transaction set has"
    const char *one;
    const char *many;
    const char *control; // "SE02"
    const char *opening; // "ST02"
};

const EnvelopeChecker::Trailer EnvelopeChecker::SetTrailer { "SE01", "the transaction set has",
    "segment", "segments", "SE02", "ST02" };
const EnvelopeChecker::Trailer EnvelopeChecker::GroupTrailer { "GE01", "the group has",
    "transaction set", "transaction sets", "GE02", "GS06" };
const EnvelopeChecker::Trailer EnvelopeChecker::InterchangeTrailer { "IEA01", "the interchange has",
    "functional group", "functional groups", "IEA02", "ISA13" };

EnvelopeChecker::EnvelopeChecker()
{
    for (const char *id : { "IS", "IE", "GS", "GE", "ST", "SE", "HL" }) {
        const char second = id[1];
        const quint8 bit = second == 'S' ? 1 : second == 'E' ? 2 : second == 'T' ? 4 : 8;
        secondBit_[uchar(second)] = bit;
        firstMask_[uchar(id[0])] |= bit;
    }
}

EnvelopeChecker::~EnvelopeChecker() = default;

TGFile::ScanObserver EnvelopeChecker::Observer()
{
    return [this](qint64 number, const IndexRecord &record, QByteArrayView head,
               const Delimiters &delimiters) { Segment(number, record, head, delimiters); };
}

void EnvelopeChecker::Examine(
    qint64 number, const IndexRecord &record, QByteArrayView head, const Delimiters &delimiters)
{
    const char separator = delimiters.Element;
    const quint32 code = IdCodeOf(head, separator);
    if (code == IdCode("ISA")) {
        const QByteArrayView id = "ISA";
        FlushOutside();
        EndSet(number, id);
        EndGroup(number, id);
        EndInterchange(number, id);
        OpenInterchange(number, record.Length, head, delimiters);
    } else if (code == IdCode("IEA")) {
        const QByteArrayView id = "IEA";
        FlushOutside();
        EndSet(number, id);
        EndGroup(number, id);
        if (interchangeOpen_ && !interchangeImplicit_) {
            CloseInterchange(number, head, separator);
        } else {
            Problem(number, "IEA has no open ISA to close");
            EndInterchange(number, id);
        }
    } else if (code == IdCode("GS")) {
        const QByteArrayView id = "GS";
        FlushOutside();
        EndSet(number, id);
        EndGroup(number, id);
        if (!interchangeOpen_ || interchangeImplicit_) {
            const SegmentElements gs(head, separator, 6);
            Problem(number, Named("GS", gs[6]) + " is not inside an interchange: no ISA opens it");
            if (!interchangeOpen_)
                StartImplicitInterchange(number, delimiters);
        }
        OpenGroup(number, head, separator);
    } else if (code == IdCode("GE")) {
        const QByteArrayView id = "GE";
        FlushOutside();
        EndSet(number, id);
        if (groupOpen_ && !groupImplicit_) {
            CloseGroup(number, head, separator);
        } else {
            Problem(number, "GE has no open GS to close");
            EndGroup(number, id);
        }
    } else if (code == IdCode("ST")) {
        const QByteArrayView id = "ST";
        FlushOutside();
        EndSet(number, id);
        if (!groupOpen_ || groupImplicit_) {
            const SegmentElements st(head, separator, 2);
            Problem(
                number, Named("ST", st[2]) + " is not inside a functional group: no GS opens it");
            if (!groupOpen_)
                StartImplicitGroup(number, delimiters);
        }
        OpenSet(number, head, separator);
    } else if (code == IdCode("SE")) {
        FlushOutside();
        if (setOpen_)
            CloseSet(number, head, separator);
        else
            Problem(number, "SE has no open ST to close");
    } else if (setOpen_) {
        ++setSegments_;
        if (code == IdCode("HL"))
            CheckHl(number, head, separator);
    } else if (code == IdCode("TA1") && interchangeOpen_ && !interchangeImplicit_ && !groupOpen_) {
        // An interchange acknowledgment belongs directly in an interchange.
        FlushOutside();
    } else {
        Outside(number, head, separator);
    }
}

void EnvelopeChecker::OpenInterchange(
    qint64 number, qint32 length, QByteArrayView head, const Delimiters &d)
{
    const SegmentElements isa(head, d.Element, 13);
    interchangeOpen_ = true;
    interchangeImplicit_ = false;
    isaSegment_ = number;
    isaControl_.assign(isa[13].data(), size_t(isa[13].size()));
    gsControls_.Clear();

    InterchangeRecord record;
    record.First = number;
    record.FirstGroup = outline_.groups_.Size();
    record.SenderQualifier = Intern(SenderQualifier, isa[5]);
    record.Sender = Intern(Sender, isa[6]);
    record.ReceiverQualifier = Intern(ReceiverQualifier, isa[7]);
    record.Receiver = Intern(Receiver, isa[8]);
    record.Date = Intern(Date, isa[9]);
    record.Time = Intern(Time, isa[10]);
    record.Control = Keep(isa[13]);
    record.Separators = d;
    outline_.interchanges_.Append(record);

    const qint64 headerLength = qint64(length) + 1;
    if (headerLength != InterchangeHeader::StandardLength)
        Problem(number,
            "The interchange header is " + QByteArray::number(headerLength) + " bytes long, not "
                + QByteArray::number(InterchangeHeader::StandardLength));
}

void EnvelopeChecker::CloseInterchange(qint64 number, QByteArrayView head, char separator)
{
    InterchangeRecord &record = outline_.interchanges_.Back();
    CheckTrailer(InterchangeTrailer, number, head, separator, record.GsCount, isaControl_);
    record.Last = number;
    record.Closed = true;
    interchangeOpen_ = false;
    gsControls_.Clear();
}

void EnvelopeChecker::CheckTrailer(const Trailer &trailer, qint64 number, QByteArrayView head,
    char separator, qint64 count, QByteArrayView control)
{
    const SegmentElements e(head, separator, 2);
    if (!ControlNumber::CountIs(e[1], count))
        Problem(number,
            trailer.count + (' ' + Is(e[1])) + " but " + trailer.holder + ' '
                + Counted(count, trailer.one, trailer.many));
    if (!ControlNumber::Same(e[2], control))
        Problem(number,
            trailer.control + (' ' + Shown(e[2])) + " does not match " + trailer.opening + ' '
                + Shown(control));
}

void EnvelopeChecker::OpenGroup(qint64 number, QByteArrayView head, char separator)
{
    const SegmentElements gs(head, separator, 8);
    groupOpen_ = true;
    groupImplicit_ = false;
    gsSegment_ = number;
    gsControl_.assign(gs[6].data(), size_t(gs[6].size()));
    stControls_.Clear();
    if (!gsControls_.Insert(gs[6]))
        Problem(number,
            "GS06 " + Shown(gs[6])
                + " repeats the control number of an earlier group in the interchange");

    GroupRecord record;
    record.First = number;
    record.FirstSet = outline_.sets_.Size();
    record.Function = Intern(GroupFunction, gs[1]);
    record.Sender = Intern(GroupSender, gs[2]);
    record.Receiver = Intern(GroupReceiver, gs[3]);
    record.Control = Keep(gs[6]);
    record.Version = Intern(GroupVersion, gs[8]);
    outline_.groups_.Append(record);
    InterchangeRecord &interchange = outline_.interchanges_.Back();
    ++interchange.GroupCount;
    ++interchange.GsCount;
}

void EnvelopeChecker::CloseGroup(qint64 number, QByteArrayView head, char separator)
{
    GroupRecord &record = outline_.groups_.Back();
    CheckTrailer(GroupTrailer, number, head, separator, record.SetCount, gsControl_);
    record.Last = number;
    record.Closed = true;
    groupOpen_ = false;
    stControls_.Clear();
}

void EnvelopeChecker::OpenSet(qint64 number, QByteArrayView head, char separator)
{
    const SegmentElements st(head, separator, 3);
    setOpen_ = true;
    stSegment_ = number;
    stControl_.assign(st[2].data(), size_t(st[2].size()));
    setSegments_ = 1;
    hlCount_ = 0;
    hlInOrder_ = 0;
    hlOutOfOrder_ = false;
    ClearHlOthers();
    if (!stControls_.Insert(st[2]))
        Problem(number,
            "ST02 " + Shown(st[2])
                + " repeats the control number of an earlier transaction set in the group");

    SetRecord record;
    record.First = number;
    record.Type = Intern(SetType, st[1]);
    record.Control = Keep(st[2]);
    record.Convention = Intern(SetConvention, st[3]);
    outline_.sets_.Append(record);
    ++outline_.groups_.Back().SetCount;
}

void EnvelopeChecker::CloseSet(qint64 number, QByteArrayView head, char separator)
{
    ++setSegments_;
    CheckTrailer(SetTrailer, number, head, separator, setSegments_, stControl_);
    SetRecord &record = outline_.sets_.Back();
    record.Last = number;
    record.Closed = true;
    setOpen_ = false;
    ClearHlOthers();
}

void EnvelopeChecker::CheckHl(qint64 number, QByteArrayView head, char separator)
{
    const SegmentElements hl(head, separator, 3);
    ++hlCount_;
    // HL02 names a parent given earlier: one of the HL01 values before this HL.
    const QByteArrayView parent = ControlNumber::Canonical(hl[2]);
    if (!parent.isEmpty()) {
        const std::optional<quint64> n = ControlNumber::Number(parent);
        const bool inOrder = n && *n >= 1 && *n <= quint64(hlInOrder_);
        if (!inOrder && !hlOthers_.contains(std::string(parent.data(), size_t(parent.size()))))
            Problem(number,
                "HL02 " + Shown(hl[2]) + " names no HL01 given earlier in the transaction set");
    }
    if (!ControlNumber::CountIs(hl[1], hlCount_)) {
        Problem(number,
            "HL01 " + Is(hl[1]) + " but the transaction set has "
                + Counted(hlCount_, "HL segment", "HL segments") + " so far");
        hlOutOfOrder_ = true;
    }
    if (hlOutOfOrder_) {
        const QByteArrayView id = ControlNumber::Canonical(hl[1]);
        hlOthers_.emplace(id.data(), size_t(id.size()));
    } else {
        hlInOrder_ = hlCount_;
    }
}

void EnvelopeChecker::EndSet(qint64 number, QByteArrayView id)
{
    if (!setOpen_)
        return;
    Problem(stSegment_, Named("ST", stControl_) + " has no SE before " + EndedBy(id, number));
    outline_.sets_.Back().Last = id.isEmpty() ? number : number - 1;
    setOpen_ = false;
    ClearHlOthers();
}

void EnvelopeChecker::EndGroup(qint64 number, QByteArrayView id)
{
    if (!groupOpen_)
        return;
    if (!groupImplicit_)
        Problem(gsSegment_, Named("GS", gsControl_) + " has no GE before " + EndedBy(id, number));
    outline_.groups_.Back().Last = id.isEmpty() ? number : number - 1;
    groupOpen_ = false;
    stControls_.Clear();
}

void EnvelopeChecker::EndInterchange(qint64 number, QByteArrayView id)
{
    if (!interchangeOpen_)
        return;
    if (!interchangeImplicit_)
        Problem(
            isaSegment_, Named("ISA", isaControl_) + " has no IEA before " + EndedBy(id, number));
    outline_.interchanges_.Back().Last = id.isEmpty() ? number : number - 1;
    interchangeOpen_ = false;
    gsControls_.Clear();
}

void EnvelopeChecker::StartImplicitInterchange(qint64 number, const Delimiters &d)
{
    interchangeOpen_ = true;
    interchangeImplicit_ = true;
    isaControl_.clear();
    gsControls_.Clear();
    InterchangeRecord record;
    record.First = number;
    record.FirstGroup = outline_.groups_.Size();
    record.Separators = d;
    record.Implicit = true;
    outline_.interchanges_.Append(record);
}

void EnvelopeChecker::StartImplicitGroup(qint64 number, const Delimiters &d)
{
    if (!interchangeOpen_)
        StartImplicitInterchange(number, d);
    groupOpen_ = true;
    groupImplicit_ = true;
    gsControl_.clear();
    stControls_.Clear();
    GroupRecord record;
    record.First = number;
    record.FirstSet = outline_.sets_.Size();
    record.Implicit = true;
    outline_.groups_.Append(record);
    ++outline_.interchanges_.Back().GroupCount;
}

void EnvelopeChecker::Outside(qint64 number, QByteArrayView head, char separator)
{
    if (outsideCount_ == 0) {
        outsideFirst_ = number;
        const qsizetype end = head.indexOf(separator);
        outsideId_ = Shown(end < 0 ? head : head.first(end));
    }
    ++outsideCount_;
}

void EnvelopeChecker::FlushOutside()
{
    if (outsideCount_ == 0)
        return;
    const QByteArray what = outsideId_ == "(empty)" ? QByteArray("An empty segment") : outsideId_;
    if (outsideCount_ == 1)
        Problem(outsideFirst_, what + " is outside a transaction set");
    else
        Problem(outsideFirst_,
            what + " and " + Counted(outsideCount_ - 1, "more segment", "more segments")
                + ", to segment " + QByteArray::number(outsideFirst_ + outsideCount_ - 1)
                + ", are outside a transaction set");
    outsideCount_ = 0;
}

void EnvelopeChecker::Finish()
{
    FlushOutside();
    EndSet(lastSegment_, {});
    EndGroup(lastSegment_, {});
    EndInterchange(lastSegment_, {});
    outline_.lastSegment_ = lastSegment_;
}

EnvelopeOutline EnvelopeChecker::Outline() const
{
    EnvelopeOutline outline = outline_;
    outline.lastSegment_ = lastSegment_;
    if (setOpen_)
        outline.sets_.Back().Last = lastSegment_;
    if (groupOpen_)
        outline.groups_.Back().Last = lastSegment_;
    if (interchangeOpen_)
        outline.interchanges_.Back().Last = lastSegment_;
    return outline;
}

EnvelopeOutline EnvelopeChecker::TakeOutline()
{
    outline_.lastSegment_ = lastSegment_;
    return std::move(outline_);
}

TextBlocks::Ref EnvelopeChecker::Intern(Field field, QByteArrayView text)
{
    const QByteArrayView value = ControlNumber::WithoutSpaces(text);
    if (value.isEmpty())
        return TextBlocks::Empty;
    const std::string_view key(value.data(), size_t(value.size()));
    Recent &recent = recent_[size_t(field)];
    if (recent.Ref != TextBlocks::Empty && recent.Text == key)
        return recent.Ref;
    const auto found = interned_.find(key);
    TextBlocks::Ref ref = TextBlocks::Empty;
    if (found != interned_.end()) {
        ref = found->second;
    } else {
        ref = outline_.texts_.Add(value);
        // Past a limit, values are kept each time: a file of ever new values costs no table.
        if (interned_.size() < MaxInterned)
            interned_.emplace(key, ref);
    }
    recent.Text = key;
    recent.Ref = ref;
    return ref;
}

TextBlocks::Ref EnvelopeChecker::Keep(QByteArrayView text)
{
    return outline_.texts_.Add(ControlNumber::WithoutSpaces(text));
}
