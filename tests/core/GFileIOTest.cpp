#include "GFileIO.h"

#include "Exception.h"
#include "TestEnvironment.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <utility>
#include <vector>

using X12Builder::Isa;

namespace {

const QByteArray Gs = "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010";
const QByteArray Iea = "IEA*1*000000007";

using Records = std::vector<std::pair<qint64, qint32>>;

class ReaderTest : public testing::Test
{
protected:
    QString Write(const QByteArray &bytes, const QString &name = QStringLiteral("file.edi"))
    {
        const QString path = dir_.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

    static Records IndexOf(TGFile &reader)
    {
        Records records;
        const qint64 count = reader.SegmentCount();
        for (qint64 i = 1; i <= count; ++i) {
            const IndexRecord r = reader.SegmentRecord(i);
            records.emplace_back(r.Offset, r.Length);
        }
        return records;
    }

    static QByteArray TextOf(TGFile &reader, qint64 number)
    {
        reader.GotoSegment(number);
        return reader.SegmentText().toByteArray();
    }

    QTemporaryDir dir_;
};

// How files are cut into segments: the indexed records, the totals and the texts.
struct IndexCase
{
    const char *name;
    QByteArray bytes;
    int lineBreakLength;
    Records records;
    QByteArray lastText;
};

void PrintTo(const IndexCase &c, std::ostream *os)
{
    *os << c.name;
}

class IndexTest : public ReaderTest, public testing::WithParamInterface<IndexCase>
{
};

TEST_P(IndexTest, RecordsAndTotal)
{
    const IndexCase &c = GetParam();
    TGFile reader(Write(c.bytes));
    EXPECT_EQ(reader.LineBreakLength(), c.lineBreakLength);
    EXPECT_EQ(IndexOf(reader), c.records);
    EXPECT_EQ(reader.TotalSegments(), qint64(c.records.size()));
    EXPECT_EQ(reader.CurrentSegment(), 1);
    EXPECT_EQ(TextOf(reader, qint64(c.records.size())), c.lastText);
}

const QByteArray CrLfFile = Isa() + "\r\n" + Gs + "~\r\n" + Iea + "~\r\n";

INSTANTIATE_TEST_SUITE_P(Files, IndexTest,
    testing::Values(
        IndexCase { "CrLf", CrLfFile, 2, { { 0, 105 }, { 108, 50 }, { 161, 15 } }, Iea },
        IndexCase { "Lf", Isa() + "\n" + Gs + "~\n" + Iea + "~\n", 1,
            { { 0, 105 }, { 107, 50 }, { 159, 15 } }, Iea },
        IndexCase { "CrLfLastUnterminated", Isa() + "\r\n" + Gs + "~\r\n" + Iea + "\r\n", 2,
            { { 0, 105 }, { 108, 50 }, { 161, 15 } }, Iea },
        IndexCase { "CrLfExtraLineBreak", CrLfFile + "\r\n", 2,
            { { 0, 105 }, { 108, 50 }, { 161, 15 } }, Iea },
        // Only the one LF before the tail is trimmed, not its first character.
        IndexCase { "LfLastUnterminated", Isa() + "\n" + Gs + "~\n" + Iea + "\n", 1,
            { { 0, 105 }, { 107, 50 }, { 159, 15 } }, Iea },
        // The two bytes after every terminator are skipped, whatever they are.
        IndexCase { "MissingLineBreak", Isa() + "\r\n" + Gs + "~" + Iea + "~\r\n", 2,
            { { 0, 105 }, { 108, 50 }, { 161, 13 } }, Iea.mid(2) },
        IndexCase { "NoLineBreaksThenCrLf", Isa() + Gs + "~" + Iea + "~\r\n", 0,
            { { 0, 105 }, { 106, 50 }, { 157, 15 } }, Iea },
        IndexCase { "TrailingFiller", CrLfFile + "ZZZZ", 2,
            { { 0, 105 }, { 108, 50 }, { 161, 15 }, { 179, 4 } }, "ZZZZ" },
        IndexCase { "LoneCrAfterHeader", Isa() + "\r" + Gs + "~\r" + Iea + "~\r", 0,
            { { 0, 105 }, { 106, 51 }, { 158, 16 } }, "\r" + Iea },
        IndexCase { "NulSegment", Isa() + "\r\n" + Gs + "~\r\n" + QByteArray(3, '\0') + "~\r\n", 2,
            { { 0, 105 }, { 108, 50 }, { 161, 3 } }, "" },
        IndexCase { "NulInSegment",
            Isa() + "\r\n" + Gs + "~\r\n" + QByteArray("GS*IN\0XYZ", 9) + "~\r\n", 2,
            { { 0, 105 }, { 108, 50 }, { 161, 9 } }, "GS*IN" }),
    [](const testing::TestParamInfo<IndexCase> &info) { return info.param.name; });

TEST_F(ReaderTest, OpeningLearnsDelimitersAndStartsOnTheHeader)
{
    TGFile reader(Write(Isa('|', '^', '\n') + "GS|IN|SENDERID|RECEIVERID\n"));
    EXPECT_EQ(reader.ElementSeparator(), '|');
    EXPECT_EQ(reader.ComponentSeparator(), '^');
    EXPECT_EQ(reader.SegmentTerminator(), '\n');
    EXPECT_EQ(reader.LineBreakLength(), 0);
    EXPECT_EQ(reader.CurrentSegment(), 1);
    EXPECT_EQ(reader.TotalSegments(), -1);
    EXPECT_EQ(reader.IndexedCount(), 1);
    EXPECT_EQ(reader.ScanPosition(), 106);
    EXPECT_EQ(reader.SegmentText(), Isa('|', '^', '\n').left(105));
    EXPECT_EQ(reader.SegmentCount(), 2);
    EXPECT_EQ(TextOf(reader, 2), "GS|IN|SENDERID|RECEIVERID");
}

TEST_F(ReaderTest, ScanPercentFollowsTheIndex)
{
    TGFile reader(Write(CrLfFile));
    EXPECT_EQ(reader.ScanPercent(), 108 * 100 / 179);
    reader.SegmentCount();
    EXPECT_EQ(reader.ScanPercent(), 100);
}

TEST_F(ReaderTest, ScanPercentPassesAHundredWhenTheLastLineBreakIsMissing)
{
    TGFile reader(Write(Isa() + "\r\n" + Gs + "~\r\n" + Iea + "~"));
    EXPECT_EQ(reader.SegmentCount(), 3);
    EXPECT_EQ(reader.ScanPosition(), 179);
    EXPECT_EQ(reader.ScanPercent(), 101);
}

// Refused files: the message, and nothing left open or on disk.
struct RefusalCase
{
    const char *name;
    QByteArray bytes;
    const char *message;
};

void PrintTo(const RefusalCase &c, std::ostream *os)
{
    *os << c.name;
}

class RefusalTest : public ReaderTest, public testing::WithParamInterface<RefusalCase>
{
};

int OpenDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

TEST_P(RefusalTest, GivesTheMessage)
{
    const QString path = Write(GetParam().bytes);
    const int descriptors = OpenDescriptors();
    try {
        TGFile reader(path);
        FAIL() << "accepted";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QLatin1String(GetParam().message));
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_TRUE(IndexFilesLeft().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, RefusalTest,
    testing::Values(RefusalCase { "Empty", "", "Empty file." },
        RefusalCase { "OneByte", "I", "Invalid X12 file" },
        RefusalCase { "HeaderOnly", Isa(), "Invalid X12 file" },
        RefusalCase { "Size107", Isa() + "G", "Stream read error" },
        RefusalCase { "Size126", Isa() + QByteArray(20, 'G'), "Stream read error" },
        RefusalCase { "Size127NotIsa", QByteArray(127, 'G'), "Not a valid X12 file." },
        RefusalCase { "LowerCaseIsa", "isa" + Isa().mid(3) + Gs + "~", "Not a valid X12 file." }),
    [](const testing::TestParamInfo<RefusalCase> &info) { return info.param.name; });

TEST_F(ReaderTest, Size127IsAccepted)
{
    TGFile reader(Write(Isa() + QByteArray(21, 'G')));
    EXPECT_EQ(reader.SegmentCount(), 2);
    EXPECT_EQ(TextOf(reader, 2), QByteArray(21, 'G'));
}

TEST_F(ReaderTest, MissingFileGivesTheSystemReasonWithTheFullPath)
{
    const QString relative = QDir::current().relativeFilePath(dir_.filePath("missing.x12"));
    try {
        TGFile reader(relative);
        FAIL() << "accepted";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral("Cannot open file \"%1\". No such file or directory")
                .arg(dir_.filePath("missing.x12")));
    }
}

TEST_F(ReaderTest, FoldersAndPipesAreRefusedWithoutWaiting)
{
    const QString fifo = dir_.filePath("pipe");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : { dir_.path(), fifo }) {
        try {
            TGFile reader(path);
            ADD_FAILURE() << "accepted " << qPrintable(path);
        } catch (const Exception &e) {
            EXPECT_TRUE(e.Message().startsWith(QLatin1String("Cannot open file \"") + path))
                << qPrintable(e.Message());
        }
    }
}

TEST_F(ReaderTest, IndexFileLivesInTheTemporaryFolderWhileTheReaderDoes)
{
    QString indexFile;
    {
        TGFile reader(Write(CrLfFile));
        indexFile = reader.IndexFileName();
        EXPECT_EQ(QFileInfo(indexFile).absolutePath(), QDir::tempPath());
        EXPECT_TRUE(QFileInfo(indexFile).fileName().startsWith(QLatin1String("x12")));
        EXPECT_TRUE(QFile::exists(indexFile));
    }
    EXPECT_FALSE(QFile::exists(indexFile));
}

TEST_F(ReaderTest, MissingTemporaryFolderGivesAnInOutErrorAndClosesTheFile)
{
    const QString path = Write(CrLfFile);
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir_.filePath("gone")));
    const int descriptors = OpenDescriptors();
    try {
        TGFile reader(path);
        ADD_FAILURE() << "accepted";
    } catch (const EInOutError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("I/O error %1").arg(ENOENT));
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
    qputenv("TMPDIR", saved);
}

TEST_F(ReaderTest, GotoSegmentBeyondTheEndGivesTheLastSegment)
{
    TGFile reader(Write(CrLfFile));
    reader.GotoSegment(1000); // total not yet known
    EXPECT_EQ(reader.CurrentSegment(), 3);
    EXPECT_EQ(reader.TotalSegments(), 3);
    reader.GotoSegment(1);
    reader.GotoSegment(4); // total known
    EXPECT_EQ(reader.CurrentSegment(), 3);
    EXPECT_EQ(reader.SegmentText(), Iea);
}

TEST_F(ReaderTest, GotoSegmentZeroFailsAndLeavesTheReaderWhereItWas)
{
    TGFile reader(Write(CrLfFile));
    reader.GotoSegment(2);
    for (qint64 number : { 0, -5 }) {
        try {
            reader.GotoSegment(number);
            ADD_FAILURE() << "no error for " << number;
        } catch (const EInOutError &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("I/O error %1").arg(EINVAL));
        }
        EXPECT_EQ(reader.CurrentSegment(), 2);
        EXPECT_EQ(reader.SegmentText(), Gs);
    }
}

TEST_F(ReaderTest, GotoTheCurrentSegmentReadsNothing)
{
    const QString path = Write(CrLfFile);
    TGFile reader(path);
    reader.GotoSegment(2);
    WriteBytes(path, QByteArray(179, 'x'));
    reader.GotoSegment(2);
    EXPECT_EQ(reader.SegmentText(), Gs);
}

TEST_F(ReaderTest, SegmentCountKeepsTheCurrentSegment)
{
    TGFile reader(Write(CrLfFile + CrLfFile.mid(108)));
    reader.GotoSegment(2);
    EXPECT_EQ(reader.SegmentCount(), 5);
    EXPECT_EQ(reader.CurrentSegment(), 2);
    EXPECT_EQ(reader.SegmentText(), Gs);
}

// Segments longer than a chunk are read whole, wherever they stand.
TEST_F(ReaderTest, LongSegmentsAreReadWhole)
{
    const QByteArray longSegment = "GS*" + QByteArray(100000, 'A');
    const QByteArray longTail = "IEA*" + QByteArray(70000, 'B');
    TGFile reader(Write(Isa() + "\r\n" + longSegment + "~\r\n" + Gs + "~\r\n" + longTail));
    EXPECT_EQ(reader.SegmentCount(), 4);
    EXPECT_EQ(TextOf(reader, 2), longSegment);
    EXPECT_EQ(TextOf(reader, 3), Gs);
    EXPECT_EQ(TextOf(reader, 4), longTail);
    EXPECT_EQ(reader.ScanPercent(), 100);
}

// Random files compared with a plain split at the terminators, walked forwards, backwards
// and at random: chunk and block boundaries, buffered index records and their read-back.
TEST_F(ReaderTest, MatchesAPlainSplitOfLargeFiles)
{
    QRandomGenerator random(12);
    for (const QByteArray &lineBreak : { QByteArray("\r\n"), QByteArray("\n"), QByteArray() }) {
        QByteArray file = Isa() + lineBreak;
        std::vector<QByteArray> expected { Isa().left(105) };
        while (file.size() < 3 * 1024 * 1024) {
            const int length
                = random.bounded(100) == 0 ? random.bounded(40000, 90000) : random.bounded(0, 60);
            QByteArray segment(length, 'a');
            for (char &c : segment)
                c = char('A' + random.bounded(26));
            expected.push_back(segment);
            file += segment + "~" + lineBreak;
        }
        TGFile reader(Write(file));
        const qint64 count = qint64(expected.size());
        ASSERT_EQ(reader.SegmentCount(), count);
        for (qint64 i = 1; i <= count; ++i)
            ASSERT_EQ(TextOf(reader, i), expected[size_t(i - 1)]) << i;
        for (qint64 i = count; i >= 1; --i)
            ASSERT_EQ(TextOf(reader, i), expected[size_t(i - 1)]) << i;
        for (int k = 0; k < 2000; ++k) {
            const qint64 i = random.bounded(count) + 1;
            ASSERT_EQ(TextOf(reader, i), expected[size_t(i - 1)]) << i;
        }
    }
}

TEST_F(ReaderTest, IndexFileHoldsSixteenByteRecordsInSegmentOrder)
{
    QByteArray file = Isa() + "\r\n";
    // More records than the reader keeps in memory before writing them out.
    for (int i = 0; i < 70000; ++i)
        file += "LX*" + QByteArray::number(i) + "~\r\n";
    TGFile reader(Write(file));
    ASSERT_EQ(reader.SegmentCount(), 70001);

    QFile index(reader.IndexFileName());
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    const QByteArray bytes = index.readAll();
    ASSERT_GE(bytes.size(), 65536 * 16);
    const QByteArray first = QByteArray::fromHex("0000000000000000"
                                                 "69000000"
                                                 "00000000"
                                                 "6c00000000000000"
                                                 "04000000"
                                                 "00000000");
    EXPECT_EQ(bytes.left(32), first);
}

// Other programs may write the file while a reader holds it.
TEST_F(ReaderTest, SurvivesTheFileShrinkingOrVanishing)
{
    QByteArray file = Isa() + "\r\n";
    while (file.size() < 3 * 1024 * 1024)
        file += "PO1*1*48*EA*12.75**UP*036000291452~\r\n";
    const QString path = Write(file);

    TGFile reader(path);
    reader.GotoSegment(10);
    QFile::resize(path, 2 * 1024 * 1024);
    const qint64 count = reader.SegmentCount();
    EXPECT_LT(count, 3 * 1024 * 1024 / 38);
    for (qint64 i = 1; i <= count; ++i)
        reader.GotoSegment(i);

    QFile::resize(path, 0);
    EXPECT_EQ(reader.ScanPercent(), 100);
    reader.GotoSegment(2);
    EXPECT_TRUE(reader.SegmentText().isEmpty());
    EXPECT_EQ(reader.CurrentSegment(), 2);

    QFile::remove(path);
    reader.GotoSegment(3);
    EXPECT_EQ(reader.CurrentSegment(), 3);
}

} // namespace
