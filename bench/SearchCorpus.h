#pragma once

#include "XorShift.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Writes a deterministic corpus for the Find in Files benchmark: a few thousand files of mixed
// sizes (or all of about one size) in nested folders, most of them X12 interchanges, some not
// (plain text, binary, too short, a lower-case "isa" header). A marker is planted in a known
// subset: inside segments of X12 files, in non-X12 files, and across a segment boundary, where
// grep sees it and the search must not.
class SearchCorpus
{
public:
    static const QByteArray Marker;

    struct Options
    {
        int files = 3000;
        qint64 fileSize = 0; // every file of about this many bytes; 0 mixes sizes
        quint64 seed = 1;
    };

    explicit SearchCorpus(const Options &options);

    // Writes the corpus below folder (emptied first). Returns false on a write error.
    bool Write(const QString &folder);

    // Paths relative to the corpus folder, as written by the last Write.
    const QStringList &X12WithMarker() const { return x12WithMarker_; } // what the search finds
    const QStringList &X12WithMarkerAnyCase() const { return x12WithMarkerAnyCase_; }
    const QStringList &AllWithMarker() const { return allWithMarker_; } // what grep finds

private:
    quint64 Next() { return random_.Next(); }
    int Below(int n) { return random_.Below(n); }
    qint64 PickSize();
    QByteArray Interchange(qint64 size, char terminator, bool lineBreaks, quint64 seed);
    void PlantInSegment(QByteArray &bytes, char terminator);
    void PlantAcrossBoundary(QByteArray &bytes);
    void PlantAnywhere(QByteArray &bytes);
    QString PickFolder();

    Options options_;
    XorShift random_;
    QStringList folders_;
    QStringList x12WithMarker_;
    QStringList x12WithMarkerAnyCase_;
    QStringList allWithMarker_;
};
