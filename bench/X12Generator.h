#pragma once

#include "XorShift.h"

#include <QByteArray>
#include <QtGlobal>

#include <cstdio>

// Writes realistic, deterministic X12 interchanges for benchmarks: purchase orders (850),
// invoices (810) and professional claims (837) in one interchange, to any size, in groups of up
// to 500 sets. Its envelopes are sound: counts, control numbers and HL numbering are right.
class X12Generator
{
public:
    enum class LineBreaks { CrLf, Lf, None };

    struct Options
    {
        qint64 size = qint64(1) << 30; // bytes to write at least; the interchange is then closed
        LineBreaks breaks = LineBreaks::CrLf;
        quint64 seed = 1;
        char elementSeparator = '*';
        char terminator = '~';
        // Ends the file with a short second interchange, as files holding several do: a second
        // ISA header, met only at the very end.
        bool secondInterchange = false;
    };

    explicit X12Generator(const Options &options);

    // Writes the interchange to out; returns the number of segments written.
    qint64 Write(std::FILE *out);

    static bool ParseLineBreaks(const QByteArray &name, LineBreaks &breaks);
    static bool ParseSize(const QByteArray &text, qint64 &size);

private:
    int Below(int n) { return random_.Below(n); }
    QByteArray Digits(int count);
    QByteArray Date();
    void Segment(const QByteArray &text);
    void PurchaseOrder();
    void Invoice();
    void Claim();
    void SecondInterchange(const QByteArray &isa);

    Options options_;
    XorShift random_;
    QByteArray lineBreak_;
    QByteArray pending_;
    std::FILE *out_ = nullptr;
    qint64 written_ = 0;
    qint64 segments_ = 0;
    qint64 setSegments_ = 0;
    int setNumber_ = 0;
};
