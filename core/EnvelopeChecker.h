#pragma once

#include "ControlNumberSet.h"
#include "Delimiters.h"
#include "EnvelopeOutline.h"
#include "EnvelopeProblems.h"
#include "GFileIO.h"

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// Checks the envelopes of an X12 file (counts, control numbers, what opens and closes what,
// HL numbering) and builds its outline, in one pass: told every segment in file order, as a
// reader's scan observer is, then told the end. Only the segments' first bytes are read, so
// the reader's default head of ObservedHeadLength bytes is enough. Memory stays flat apart from
// the outline's records: what is kept to tell repeated control numbers and HL01 values goes
// when its group, interchange or transaction set closes.
//
// Used from one thread at a time. Outline() and a copy of Problems() are snapshots, cheap to
// take while the check runs, that may be handed to another thread and read there.
class EnvelopeChecker
{
public:
    EnvelopeChecker();
    ~EnvelopeChecker();

    EnvelopeChecker(const EnvelopeChecker &) = delete;
    EnvelopeChecker &operator=(const EnvelopeChecker &) = delete;

    // Segment number (from 1, each once, in order), as a TGFile::ScanObserver is told it: its
    // index record, its first bytes and the delimiters in force.
    void Segment(
        qint64 number, const IndexRecord &record, QByteArrayView head, const Delimiters &delimiters)
    {
        lastSegment_ = number;
        // Inside a set, a segment whose first two bytes begin none of the ids that matter there
        // (ISA, IEA, GS, GE, ST, SE, HL) is only counted: most segments of most files.
        if (setOpen_ && head.size() >= 2
            && (firstMask_[uchar(head[0])] & secondBit_[uchar(head[1])]) == 0) {
            ++setSegments_;
            return;
        }
        Examine(number, record, head, delimiters);
    }
    // The end of the file: closes what is still open.
    void Finish();

    // An observer for TGFile::SetScanObserver that passes every segment to Segment; set it
    // before anything scans the file, and keep the checker while the reader scans.
    TGFile::ScanObserver Observer();

    // What is there so far: the outline with its open envelopes ending at the last segment
    // told, and the problems found.
    EnvelopeOutline Outline() const;
    const EnvelopeProblems &Problems() const { return problems_; }
    // After Finish: the results, moved out.
    EnvelopeOutline TakeOutline();
    EnvelopeProblems TakeProblems() { return std::move(problems_); }

private:
    struct TransparentHash
    {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
    };

    void Examine(qint64 number, const IndexRecord &record, QByteArrayView head,
        const Delimiters &delimiters);
    void OpenInterchange(qint64 number, qint32 length, QByteArrayView head, const Delimiters &d);
    void CloseInterchange(qint64 number, QByteArrayView head, char separator);
    void OpenGroup(qint64 number, QByteArrayView head, char separator);
    void CloseGroup(qint64 number, QByteArrayView head, char separator);
    void OpenSet(qint64 number, QByteArrayView head, char separator);
    void CloseSet(qint64 number, QByteArrayView head, char separator);
    void CheckHl(qint64 number, QByteArrayView head, char separator);
    // The count and control number of the SE, GE or IEA at number, against count and the
    // opening segment's control number.
    struct Trailer;
    static const Trailer SetTrailer;
    static const Trailer GroupTrailer;
    static const Trailer InterchangeTrailer;
    void CheckTrailer(const Trailer &trailer, qint64 number, QByteArrayView head, char separator,
        qint64 count, QByteArrayView control);
    // Ends whatever of set, group and interchange is open before segment number with the id
    // given ("" for the end of the file), saying so for those its segment cannot close.
    void EndSet(qint64 number, QByteArrayView id);
    void EndGroup(qint64 number, QByteArrayView id);
    void EndInterchange(qint64 number, QByteArrayView id);
    void StartImplicitInterchange(qint64 number, const Delimiters &d);
    void StartImplicitGroup(qint64 number, const Delimiters &d);
    void Outside(qint64 number, QByteArrayView head, char separator);
    void FlushOutside();
    void ClearHlOthers()
    {
        if (!hlOthers_.empty())
            hlOthers_.clear();
    }
    void Problem(qint64 segment, const QByteArray &message) { problems_.Add(segment, message); }
    // The envelope values kept once each; the last one of each is compared first.
    enum Field {
        SetType,
        SetConvention,
        GroupFunction,
        GroupSender,
        GroupReceiver,
        GroupVersion,
        SenderQualifier,
        Sender,
        ReceiverQualifier,
        Receiver,
        Date,
        Time,
        FieldCount
    };
    TextBlocks::Ref Intern(Field field, QByteArrayView text);
    TextBlocks::Ref Keep(QByteArrayView text);

    std::array<quint8, 256> firstMask_ {}; // per first byte: the second bytes that may matter
    std::array<quint8, 256> secondBit_ {};
    EnvelopeOutline outline_;
    EnvelopeProblems problems_;
    std::unordered_map<std::string, TextBlocks::Ref, TransparentHash, std::equal_to<>> interned_;
    struct Recent
    {
        std::string Text;
        TextBlocks::Ref Ref = TextBlocks::Empty;
    };
    std::array<Recent, FieldCount> recent_;
    qint64 lastSegment_ = 0;

    bool interchangeOpen_ = false;
    bool interchangeImplicit_ = false;
    qint64 isaSegment_ = 0;
    std::string isaControl_;
    ControlNumberSet gsControls_;

    bool groupOpen_ = false;
    bool groupImplicit_ = false;
    qint64 gsSegment_ = 0;
    std::string gsControl_;
    ControlNumberSet stControls_;

    bool setOpen_ = false;
    qint64 stSegment_ = 0;
    std::string stControl_;
    qint64 setSegments_ = 0;
    qint64 hlCount_ = 0;
    qint64 hlInOrder_ = 0; // HL01 of the first hlInOrder_ HL segments was 1, 2, 3, ...
    bool hlOutOfOrder_ = false;
    std::unordered_set<std::string> hlOthers_; // HL01 values after that, canonical

    // A run of segments outside any transaction set, reported as one problem.
    qint64 outsideFirst_ = 0;
    qint64 outsideCount_ = 0;
    QByteArray outsideId_;
};
