#include "SegmentExplanation.h"

#include "CodeDictionary.h"
#include "ElementDictionary.h"
#include "ElementReference.h"

#include <algorithm>

namespace {

// The spans [begin, end) of the parts of [begin, end) between separators; one span when
// separator is 0.
QList<std::pair<qsizetype, qsizetype>> Split(
    QByteArrayView bytes, qsizetype begin, qsizetype end, char separator)
{
    QList<std::pair<qsizetype, qsizetype>> spans;
    qsizetype start = begin;
    for (qsizetype i = begin; separator != 0 && i < end; ++i) {
        if (bytes[i] == separator) {
            spans.append({ start, i });
            start = i + 1;
        }
    }
    spans.append({ start, end });
    return spans;
}

bool Holds(QByteArrayView bytes, std::pair<qsizetype, qsizetype> span, char separator)
{
    return separator != 0 && bytes.sliced(span.first, span.second - span.first).contains(separator);
}

QString Suffix(qsizetype number)
{
    return u'-' + QString::number(number);
}

} // namespace

SegmentExplanation::SegmentExplanation(QByteArrayView segment, const Delimiters &delimiters,
    const ElementDictionary &names, const CodeDictionary &codes, qsizetype valueLimit)
    : segment_(segment)
    , delimiters_(delimiters)
    , names_(&names)
    , codes_(&codes)
    , valueLimit_(valueLimit)
{
    if (segment.isEmpty())
        return;
    const char element = delimiters.Element;
    // The id as the position indicator has it, so that both give the same references.
    segmentId_ = ElementReference(segment, 0, element).SegmentId();

    // Separators that cannot be told from another delimiter split nothing.
    if (segmentId_ == QLatin1String("ISA") || delimiters_.Component == element)
        delimiters_.Component = 0;
    if (segmentId_ == QLatin1String("ISA") || delimiters_.Repetition == element
        || delimiters_.Repetition == delimiters_.Component)
        delimiters_.Repetition = 0;

    qsizetype idEnd = segment.indexOf(element);
    if (idEnd < 0)
        idEnd = segment.size();
    const QString idKey = segmentId_ + QLatin1String("00");
    if (AddRow(idKey, idKey, idKey, 0, idEnd)) {
        qsizetype begin = idEnd + 1;
        for (qsizetype number = 1; begin <= segment.size() && !truncated_; ++number) {
            qsizetype end = segment.indexOf(element, begin);
            if (end < 0)
                end = segment.size();
            AddElement(number, begin, end);
            begin = end + 1;
        }
    }
    segment_ = {};
    names_ = nullptr;
    codes_ = nullptr;
}

void SegmentExplanation::AddElement(qsizetype number, qsizetype begin, qsizetype end)
{
    const QString elementKey = segmentId_ + QString::number(number).rightJustified(2, u'0');
    const auto repetitions = Split(segment_, begin, end, delimiters_.Repetition);
    const bool repeated = repetitions.size() > 1;
    const bool composite = std::any_of(repetitions.begin(), repetitions.end(),
        [&](const auto &span) { return Holds(segment_, span, delimiters_.Component); });

    for (qsizetype r = 0; r < repetitions.size(); ++r) {
        const QString reference = repeated ? QString(elementKey + Suffix(r + 1)) : elementKey;
        if (!composite) {
            if (!AddRow(
                    reference, elementKey, elementKey, repetitions[r].first, repetitions[r].second))
                return;
            continue;
        }
        const auto components
            = Split(segment_, repetitions[r].first, repetitions[r].second, delimiters_.Component);
        for (qsizetype c = 0; c < components.size(); ++c) {
            if (!AddRow(reference + Suffix(c + 1), elementKey + Suffix(c + 1), elementKey,
                    components[c].first, components[c].second))
                return;
        }
    }
}

// Adds the row of [begin, end); false, and the explanation truncated, when there is no room.
bool SegmentExplanation::AddRow(const QString &reference, const QString &key,
    const QString &elementKey, qsizetype begin, qsizetype end)
{
    if (rows_.size() >= RowLimit) {
        truncated_ = true;
        return false;
    }
    const QByteArrayView bytes = segment_.sliced(begin, end - begin);
    ElementRow row;
    row.Reference = reference;
    row.Name = names_->Lookup(key);
    if (row.Name.isEmpty() && key != elementKey)
        row.Name = names_->Lookup(elementKey);
    if (valueLimit_ >= 0 && bytes.size() > valueLimit_)
        row.Value = QString::fromLatin1(bytes.first(valueLimit_)) + QChar(0x2026); // …
    else
        row.Value = QString::fromLatin1(bytes);
    if (bytes.size() <= CodeLengthLimit)
        row.Meaning = codes_->Meaning(key, QString::fromLatin1(bytes));
    row.Start = begin;
    row.Length = bytes.size();
    rows_.append(std::move(row));
    return true;
}

qsizetype SegmentExplanation::RowAt(qsizetype column) const
{
    // Rows follow each other with one separator between them: the last one starting at or
    // before column holds it, unless column lies past that row's end.
    const auto after = std::upper_bound(rows_.begin(), rows_.end(), column,
        [](qsizetype c, const ElementRow &row) { return c < row.Start; });
    if (after == rows_.begin())
        return -1;
    const auto row = after - 1;
    if (column > row->Start + row->Length)
        return -1;
    return row - rows_.begin();
}
