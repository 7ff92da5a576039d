#include "X12Generator.h"

#include <QList>

namespace {

const QList<QByteArray> Names = { "ACME RETAIL DC 12", "NORTHWIND TRADERS", "HARBOR FOODS",
    "LAKESIDE FAMILY PRACTICE", "BLUE RIDGE SUPPLY", "VALLEY MEDICAL GROUP" };
const QList<QByteArray> Cities = { "COLUMBUS*OH*43219", "PORTLAND*ME*04101", "CHICAGO*IL*60657",
    "AUSTIN*TX*78701", "DENVER*CO*80202" };
const QList<QByteArray> Products = { "STAINLESS WATER BOTTLE", "INSULATED LUNCH TOTE",
    "SILICONE STRAW SET", "CAST IRON SKILLET", "LED DESK LAMP" };
const QList<QByteArray> Procedures = { "99213", "99214", "87880", "36415", "81002", "90471" };

} // namespace

X12Generator::X12Generator(const Options &options)
    : options_(options)
    , random_(options.seed * 0x9E3779B97F4A7C15ull + 1)
{
    switch (options.breaks) {
    case LineBreaks::CrLf:
        lineBreak_ = "\r\n";
        break;
    case LineBreaks::Lf:
        lineBreak_ = "\n";
        break;
    case LineBreaks::None:
        break;
    }
}

QByteArray X12Generator::Digits(int count)
{
    QByteArray digits(count, '0');
    for (char &c : digits)
        c = char('0' + Below(10));
    return digits;
}

QByteArray X12Generator::Date()
{
    return "2026" + QByteArray::number(101 + Below(12)).right(2)
        + QByteArray::number(101 + Below(28)).right(2);
}

void X12Generator::Segment(const QByteArray &text)
{
    pending_ = text;
    if (options_.elementSeparator != '*')
        pending_.replace('*', options_.elementSeparator);
    pending_ += options_.terminator;
    pending_ += lineBreak_;
    std::fwrite(pending_.constData(), 1, size_t(pending_.size()), out_);
    written_ += pending_.size();
    ++segments_;
    ++setSegments_;
}

qint64 X12Generator::Write(std::FILE *out)
{
    out_ = out;
    QByteArray isa = "ISA*00*          *00*          *ZZ*BRIMLETGEN     *ZZ*RECEIVER       "
                     "*261104*1415*U*00401*000000001*0*P*:";
    Segment(isa);
    int groups = 0;
    while (written_ < options_.size) {
        ++groups;
        const QByteArray group = QByteArray::number(groups);
        Segment("GS*PO*BRIMLETGEN*RECEIVER*20261104*1415*" + group + "*X*004010");
        int sets = 0;
        for (; sets < 500 && written_ < options_.size; ++sets) {
            ++setNumber_;
            setSegments_ = 0;
            const QByteArray control = QByteArray::number(10000 + setNumber_ % 90000);
            switch (Below(3)) {
            case 0:
                Segment("ST*850*" + control);
                PurchaseOrder();
                break;
            case 1:
                Segment("ST*810*" + control);
                Invoice();
                break;
            default:
                Segment("ST*837*" + control + "*005010X222A1");
                Claim();
                break;
            }
            Segment("SE*" + QByteArray::number(setSegments_ + 1) + "*" + control);
        }
        Segment("GE*" + QByteArray::number(sets) + "*" + group);
    }
    Segment("IEA*" + QByteArray::number(groups) + "*000000001");
    if (options_.secondInterchange)
        SecondInterchange(isa.replace("*000000001*", "*000000002*"));
    return segments_;
}

void X12Generator::SecondInterchange(const QByteArray &isa)
{
    Segment(isa);
    Segment("GS*PO*BRIMLETGEN*RECEIVER*20261104*1415*1*X*004010");
    Segment("ST*850*0001");
    Segment("BEG*00*SA*PO000001**20261104");
    Segment("SE*3*0001");
    Segment("GE*1*1");
    Segment("IEA*1*000000002");
}

void X12Generator::PurchaseOrder()
{
    Segment("BEG*00*SA*PO" + Digits(6) + "**" + Date());
    Segment("REF*DP*" + Digits(3));
    Segment("DTM*002*" + Date());
    Segment("N1*ST*" + Names[Below(Names.size())] + "*92*" + Digits(4));
    Segment("N3*" + Digits(4) + " COMMERCE PARKWAY");
    Segment("N4*" + Cities[Below(Cities.size())] + "*US");
    const int lines = 1 + Below(30);
    for (int i = 1; i <= lines; ++i) {
        Segment("PO1*" + QByteArray::number(i) + "*" + QByteArray::number(1 + Below(200)) + "*EA*"
            + QByteArray::number(1 + Below(90)) + "." + Digits(2) + "**UP*" + Digits(12));
        if (Below(2) == 0)
            Segment("PID*F****" + Products[Below(Products.size())]);
    }
    Segment("CTT*" + QByteArray::number(lines));
}

void X12Generator::Invoice()
{
    Segment("BIG*" + Date() + "*INV" + Digits(5) + "*" + Date() + "*PO" + Digits(6));
    Segment("N1*RE*" + Names[Below(Names.size())] + "*92*" + Digits(4));
    Segment("DTM*011*" + Date());
    const int lines = 1 + Below(30);
    for (int i = 1; i <= lines; ++i)
        Segment("IT1*" + QByteArray::number(i) + "*" + QByteArray::number(1 + Below(200)) + "*EA*"
            + QByteArray::number(1 + Below(90)) + "." + Digits(2));
    Segment("TDS*" + Digits(6));
    Segment("CTT*" + QByteArray::number(lines));
}

void X12Generator::Claim()
{
    Segment("BHT*0019*00*" + Digits(10) + "*" + Date() + "*0805*CH");
    // Billing provider, then the subscriber below it.
    Segment("HL*1**20*1");
    Segment("NM1*85*2*" + Names[Below(Names.size())] + "*****XX*" + Digits(10));
    Segment("HL*2*1*22*0");
    Segment("SBR*P*18*GRP" + Digits(5) + "******CI");
    Segment("NM1*IL*1*DOE*JANE****MI*" + Digits(9));
    Segment("DMG*D8*19" + Digits(2) + "0412*F");
    Segment("CLM*" + Digits(8) + "*" + Digits(3) + "***11:B:1*Y*A*Y*Y");
    Segment("HI*ABK:J0300");
    const int lines = 1 + Below(12);
    for (int i = 1; i <= lines; ++i) {
        Segment("LX*" + QByteArray::number(i));
        Segment("SV1*HC:" + Procedures[Below(Procedures.size())] + "*" + Digits(2) + "*UN*1***1");
        Segment("DTP*472*D8*" + Date());
    }
}

bool X12Generator::ParseLineBreaks(const QByteArray &name, LineBreaks &breaks)
{
    if (name == "crlf")
        breaks = LineBreaks::CrLf;
    else if (name == "lf")
        breaks = LineBreaks::Lf;
    else if (name == "none")
        breaks = LineBreaks::None;
    else
        return false;
    return true;
}

bool X12Generator::ParseSize(const QByteArray &text, qint64 &size)
{
    if (text.isEmpty())
        return false;
    qint64 unit = 1;
    QByteArray digits = text;
    switch (text.back()) {
    case 'K':
    case 'k':
        unit = qint64(1) << 10;
        break;
    case 'M':
    case 'm':
        unit = qint64(1) << 20;
        break;
    case 'G':
    case 'g':
        unit = qint64(1) << 30;
        break;
    default:
        break;
    }
    if (unit != 1)
        digits.chop(1);
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok || value < 0)
        return false;
    size = value * unit;
    return true;
}
