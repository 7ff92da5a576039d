#pragma once

#include "EnvelopeChecker.h"
#include "X12Builder.h"

#include <QByteArrayList>

// Envelopes for tests: segments told straight to an envelope checker, "*" separating elements.
namespace EnvelopeFixture {

// The standard header with ISA13 control (nine characters), without its terminator.
inline QByteArray Isa(const QByteArray &control = "000000007")
{
    return X12Builder::Isa().chopped(1).replace("000000007", control);
}

// A checker told the first count segments, a check still running; by default told them all
// and the end.
inline void Tell(EnvelopeChecker &checker, const QByteArrayList &segments, qsizetype count = -1)
{
    const qsizetype told = count < 0 ? segments.size() : count;
    for (qsizetype i = 0; i < told; ++i)
        checker.Segment(i + 1, { 0, qint32(segments[i].size()) }, segments[i], Delimiters());
    if (count < 0)
        checker.Finish();
}

// The outline of Tell's check: a snapshot after count segments, or the finished check's.
inline EnvelopeOutline OutlineOf(const QByteArrayList &segments, qsizetype count = -1)
{
    EnvelopeChecker checker;
    Tell(checker, segments, count);
    return checker.Outline();
}

inline EnvelopeProblems ProblemsOf(const QByteArrayList &segments, qsizetype count = -1)
{
    EnvelopeChecker checker;
    Tell(checker, segments, count);
    return checker.Problems();
}

// Two interchanges; the first's first set holds an HL tree, its second only ST and SE.
// Segment n is the list's n - 1.
inline QByteArrayList TwoInterchanges()
{
    return { Isa("000000905"), "GS*HC*A*B*20240102*0930*1*X*005010X222A1",
        "ST*837*0001*005010X222A1", "BHT*0019", "HL*1**20*1", "NM1*85*2*CLINIC", "HL*2*1*22*0",
        "NM1*IL*1*DOE*JANE", "CLM*1", "SE*8*0001", "ST*837*0002", "SE*2*0002", "GE*2*1",
        "IEA*1*000000905", Isa("000000906"), "GS*PO*A*B*20240102*0930*2*X*004010", "ST*850*0001",
        "BEG*00", "SE*3*0001", "GE*1*2", "IEA*1*000000906" };
}

} // namespace EnvelopeFixture
