#include "SearchCorpus.h"

#include "X12Generator.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>

// The marker's letters include "Q", the terminator of the files that split it in two.
const QByteArray SearchCorpus::Marker = "ZQXMARKERQZ";

namespace {

constexpr char SplittingTerminator = 'Q';

} // namespace

SearchCorpus::SearchCorpus(const Options &options)
    : options_(options)
    , random_(options.seed * 0x9E3779B97F4A7C15ull + 7)
{ }

qint64 SearchCorpus::PickSize()
{
    if (options_.fileSize > 0)
        return options_.fileSize;
    const int kind = Below(100);
    if (kind < 75)
        return 1024 + Below(15 * 1024); // small: 1 to 16 KiB
    if (kind < 97)
        return 16 * 1024 + Below(240 * 1024); // medium: 16 to 256 KiB
    return 1024 * 1024 + Below(3 * 1024 * 1024); // large: 1 to 4 MiB
}

QByteArray SearchCorpus::Interchange(qint64 size, char terminator, bool lineBreaks, quint64 seed)
{
    X12Generator::Options options;
    options.size = size;
    options.seed = seed;
    options.terminator = terminator;
    options.breaks = lineBreaks
        ? (Below(2) ? X12Generator::LineBreaks::CrLf : X12Generator::LineBreaks::Lf)
        : X12Generator::LineBreaks::None;
    char *data = nullptr;
    size_t length = 0;
    std::FILE *out = open_memstream(&data, &length);
    X12Generator(options).Write(out);
    std::fclose(out);
    QByteArray bytes(data, qsizetype(length));
    std::free(data);
    return bytes;
}

// The marker goes at the end of a segment chosen at random (the last one now and then, so that
// the whole file is read before it is found), just before its terminator.
void SearchCorpus::PlantInSegment(QByteArray &bytes, char terminator)
{
    qsizetype at = bytes.lastIndexOf(terminator);
    if (Below(4) != 0) {
        const qsizetype from = 106 + Below(int(bytes.size() - 106));
        const qsizetype next = bytes.indexOf(terminator, from);
        if (next > 0)
            at = next;
    }
    bytes.insert(at, Marker);
}

// "Z" ends one segment, the terminator is the marker's own "Q", and "XMARKERQZ" follows:
// contiguous bytes that no single segment holds.
void SearchCorpus::PlantAcrossBoundary(QByteArray &bytes)
{
    const qsizetype from = 106 + Below(int(bytes.size() - 106));
    qsizetype at = bytes.indexOf(SplittingTerminator, from);
    if (at < 0)
        at = bytes.lastIndexOf(SplittingTerminator);
    bytes.insert(at + 1, Marker.mid(2));
    bytes.insert(at, Marker.left(1));
}

void SearchCorpus::PlantAnywhere(QByteArray &bytes)
{
    bytes.insert(Below(int(bytes.size())), Marker);
}

QString SearchCorpus::PickFolder()
{
    return folders_[Below(int(folders_.size()))];
}

bool SearchCorpus::Write(const QString &folder)
{
    QDir(folder).removeRecursively();
    folders_.clear();
    x12WithMarker_.clear();
    x12WithMarkerAnyCase_.clear();
    allWithMarker_.clear();

    // Three levels: 8 folders, 4 below each, 3 below those; files at every level.
    folders_.append(QString());
    for (int a = 0; a < 8; ++a) {
        const QString first = QStringLiteral("dept%1").arg(a);
        folders_.append(first);
        for (int b = 0; b < 4; ++b) {
            const QString second = first + QStringLiteral("/partner%1").arg(b);
            folders_.append(second);
            for (int c = 0; c < 3; ++c)
                folders_.append(second + QStringLiteral("/%1").arg(2020 + c));
        }
    }
    folders_.append(QStringLiteral(".archive")); // hidden folders are searched too
    for (const QString &f : folders_)
        QDir().mkpath(folder + u'/' + f);

    for (int i = 0; i < options_.files; ++i) {
        const QString dir = PickFolder();
        const int kind = Below(100);
        QByteArray bytes;
        QString name;
        bool x12Marker = false;
        bool x12LowerMarker = false;
        bool anyMarker = false;
        if (kind < 80) {
            name = QStringLiteral("interchange%1.x12").arg(i, 5, 10, QLatin1Char('0'));
            bytes = Interchange(PickSize(), '~', Below(3) != 0, quint64(i) + 1);
            if (Below(10) == 0) {
                PlantInSegment(bytes, '~');
                x12Marker = anyMarker = true;
            } else if (Below(30) == 0) {
                // In another letter case: neither grep nor a case-sensitive search sees it.
                bytes.insert(bytes.lastIndexOf('~'), Marker.toLower());
                x12LowerMarker = true;
            }
        } else if (kind < 83) {
            name = QStringLiteral("split%1.x12").arg(i, 5, 10, QLatin1Char('0'));
            bytes = Interchange(PickSize(), SplittingTerminator, false, quint64(i) + 1);
            PlantAcrossBoundary(bytes);
            anyMarker = true;
        } else if (kind < 90) {
            name = QStringLiteral("notes%1.txt").arg(i, 5, 10, QLatin1Char('0'));
            const int lines = options_.fileSize > 0 ? int(options_.fileSize / 45) : 5 + Below(400);
            for (int line = 0; line < lines; ++line)
                bytes += "Shipment " + QByteArray::number(Below(100000)) + " checked in dock "
                    + QByteArray::number(Below(40)) + ", carrier notified.\n";
        } else if (kind < 95) {
            name = QStringLiteral("blob%1.bin").arg(i, 5, 10, QLatin1Char('0'));
            bytes.resize(options_.fileSize > 0 ? options_.fileSize : 512 + Below(64 * 1024));
            for (char &c : bytes)
                c = char(Next() >> 56);
            bytes[0] = 'B';
        } else if (kind < 97) {
            name = QStringLiteral("short%1.x12").arg(i, 5, 10, QLatin1Char('0'));
            bytes = "ISA*00*          *00*";
        } else {
            name = QStringLiteral("lower%1.x12").arg(i, 5, 10, QLatin1Char('0'));
            bytes = Interchange(PickSize(), '~', true, quint64(i) + 1);
            bytes.replace(0, 3, "isa");
        }
        if (!anyMarker && kind >= 83 && Below(3) == 0) {
            PlantAnywhere(bytes);
            anyMarker = true;
        }

        const QString relative = dir.isEmpty() ? name : dir + u'/' + name;
        QFile file(folder + u'/' + relative);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return false;
        if (x12Marker)
            x12WithMarker_.append(relative);
        if (x12Marker || x12LowerMarker)
            x12WithMarkerAnyCase_.append(relative);
        if (anyMarker)
            allWithMarker_.append(relative);
    }
    return true;
}
