#include "GFileIO.h"

#include "CasePrinter.h"
#include "Exception.h"
#include "FileNames.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <QLocale>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>

#include <utility>
#include <vector>

using X12Builder::Isa;

namespace {

using CasePrinter::PrintTo;

const QByteArray Gs = "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010";
const QByteArray Iea = "IEA*1*000000007";

using Records = std::vector<std::pair<qint64, qint32>>;

class ReaderTest : public testing::Test
{
protected:
    QString Write(const QByteArray &bytes, const QString &name = QStringLiteral("file.edi"))
    {
        return dir_.Write(name, bytes);
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

    TestFolder dir_;
};

// How files are cut into segments: the indexed records, the totals and the texts.
struct IndexCase
{
    const char *name;
    QByteArray bytes;
    Records records;
    QByteArray lastText;
};

class IndexTest : public ReaderTest, public testing::WithParamInterface<IndexCase>
{
};

TEST_P(IndexTest, RecordsAndTotal)
{
    const IndexCase &c = GetParam();
    TGFile reader(Write(c.bytes));
    EXPECT_EQ(IndexOf(reader), c.records);
    EXPECT_EQ(reader.TotalSegments(), qint64(c.records.size()));
    EXPECT_EQ(reader.CurrentSegment(), 1);
    EXPECT_EQ(TextOf(reader, qint64(c.records.size())), c.lastText);
}

const QByteArray CrLfFile = Isa() + "\r\n" + Gs + "~\r\n" + Iea + "~\r\n";

INSTANTIATE_TEST_SUITE_P(Files, IndexTest,
    testing::Values(IndexCase { "CrLf", CrLfFile, { { 0, 105 }, { 108, 50 }, { 161, 15 } }, Iea },
        IndexCase { "Lf", Isa() + "\n" + Gs + "~\n" + Iea + "~\n",
            { { 0, 105 }, { 107, 50 }, { 159, 15 } }, Iea },
        IndexCase { "CrLfLastUnterminated", Isa() + "\r\n" + Gs + "~\r\n" + Iea + "\r\n",
            { { 0, 105 }, { 108, 50 }, { 161, 15 } }, Iea },
        IndexCase { "CrLfExtraLineBreak", CrLfFile + "\r\n",
            { { 0, 105 }, { 108, 50 }, { 161, 15 } }, Iea },
        IndexCase { "LfLastUnterminated", Isa() + "\n" + Gs + "~\n" + Iea + "\n",
            { { 0, 105 }, { 107, 50 }, { 159, 15 } }, Iea },
        // A segment right after a terminator loses nothing, whatever the header's line break.
        IndexCase { "MissingLineBreak", Isa() + "\r\n" + Gs + "~" + Iea + "~\r\n",
            { { 0, 105 }, { 108, 50 }, { 159, 15 } }, Iea },
        IndexCase { "NoLineBreaksThenCrLf", Isa() + Gs + "~" + Iea + "~\r\n",
            { { 0, 105 }, { 106, 50 }, { 157, 15 } }, Iea },
        IndexCase { "TrailingFiller", CrLfFile + "ZZZZ",
            { { 0, 105 }, { 108, 50 }, { 161, 15 }, { 179, 4 } }, "ZZZZ" },
        IndexCase { "CrOnly", Isa() + "\r" + Gs + "~\r" + Iea + "~\r",
            { { 0, 105 }, { 107, 50 }, { 159, 15 } }, Iea },
        IndexCase { "NulSegment", Isa() + "\r\n" + Gs + "~\r\n" + QByteArray(3, '\0') + "~\r\n",
            { { 0, 105 }, { 108, 50 }, { 161, 3 } }, "" },
        IndexCase { "NulInSegment",
            Isa() + "\r\n" + Gs + "~\r\n" + QByteArray("GS*IN\0XYZ", 9) + "~\r\n",
            { { 0, 105 }, { 108, 50 }, { 161, 9 } }, "GS*IN" },
        // The mark belongs to no segment; offsets stay the file's.
        IndexCase { "ByteOrderMark", "\xEF\xBB\xBF" + CrLfFile,
            { { 3, 105 }, { 111, 50 }, { 164, 15 } }, Iea }),
    [](const testing::TestParamInfo<IndexCase> &info) { return info.param.name; });

// A header whose fixed-width elements are not padded: ISA06 is "SND", 12 bytes short.
const QByteArray ShortIsa
    = "ISA*00*          *00*          *ZZ*SND*ZZ*RECEIVERID     *240102*0930*U*"
      "00401*000000007*0*P*:~";
const QByteArray PipeIsa = Isa('|', '^', '!');

// Segment texts of files laid out as real files are: the reader's split must give exactly
// these, in order, whatever stands between the segments.
struct SplitCase
{
    const char *name;
    QByteArray bytes;
    QByteArrayList texts;
};

class SplitTest : public ReaderTest, public testing::WithParamInterface<SplitCase>
{
};

TEST_P(SplitTest, GivesTheSegments)
{
    const SplitCase &c = GetParam();
    const QString path = Write(c.bytes);
    TGFile reader(path);
    ASSERT_EQ(reader.SegmentCount(), c.texts.size());
    for (qsizetype i = 0; i < c.texts.size(); ++i) {
        EXPECT_EQ(TextOf(reader, i + 1), c.texts[i]) << "segment " << i + 1;
        // Every record is a run of the file's own bytes.
        const IndexRecord r = reader.SegmentRecord(i + 1);
        EXPECT_EQ(c.bytes.mid(r.Offset, r.Length), c.texts[i]) << "segment " << i + 1;
    }
}

const QByteArray LongLx = "LX*" + QByteArray(32000, '1');

INSTANTIATE_TEST_SUITE_P(Files, SplitTest,
    testing::Values(
        SplitCase { "MixedLineBreaks",
            Isa() + "\r\n" + Gs + "~\r\n" + Iea + "~\r\n" + Isa() + "\n"
                + "N3*7775 COMMERCE PKWY~\n" + Iea + "~\n",
            { Isa().left(105), Gs, Iea, Isa().left(105), "N3*7775 COMMERCE PKWY", Iea } },
        SplitCase { "UnpaddedHeader", ShortIsa + "\n" + Gs + "~\n" + Iea + "~\n",
            { ShortIsa.chopped(1), Gs, Iea } },
        SplitCase { "SecondInterchangeWithOtherDelimiters",
            CrLfFile + PipeIsa + "\n" + "GS|IN|X!N1|ST|A*B~C!" + "IEA|1|000000007!\n",
            { Isa().left(105), Gs, Iea, PipeIsa.left(105), "GS|IN|X", "N1|ST|A*B~C",
                "IEA|1|000000007" } },
        // Only right after an IEA does an ISA start an interchange.
        SplitCase { "IsaInsideAnInterchange", Isa() + "~ISA*X~" + Iea + "~",
            { Isa().left(105), "", "ISA*X", Iea } },
        SplitCase { "Indented", Isa() + "\n  " + Gs + "~\n\t\t" + Iea + "~\n",
            { Isa().left(105), Gs, Iea } },
        SplitCase { "TildeSpaceLf", Isa() + " \n" + Gs + "~ \n" + Iea + "~ \n",
            { Isa().left(105), Gs, Iea } },
        SplitCase { "BlankLines", Isa() + "\r\n\r\n" + Gs + "~\r\n\r\n\r\n" + Iea + "~\r\n\r\n\r\n",
            { Isa().left(105), Gs, Iea } },
        SplitCase { "UnterminatedLastTrimmed", Isa() + "\n" + Gs + "~\n" + Iea + " \t\r\n\r\n",
            { Isa().left(105), Gs, Iea } },
        SplitCase { "TwoTerminatorsMakeAnEmptySegment", Isa() + Gs + "~~\r\n~" + Iea + "~",
            { Isa().left(105), Gs, "", "", Iea } },
        // Line breaks that are the terminator, and a separator that is a tab, are not skipped.
        SplitCase { "LfTerminator", Isa('*', ':', '\n') + Gs + "\n\n" + Iea + "\n",
            { Isa('*', ':', '\n').left(105), Gs, "", Iea } },
        SplitCase { "TabSeparator",
            Isa('\t', ':', '~') + "GS\tIN\tSENDERID\tRECEIVERID~\tX~ IEA\t1~",
            { Isa('\t', ':', '~').left(105), "GS\tIN\tSENDERID\tRECEIVERID", "\tX", "IEA\t1" } },
        // A run of whitespace longer than a chunk.
        SplitCase { "ChunkBoundaryInWhitespace",
            Isa() + "\r\n" + LongLx + "~" + QByteArray(2000, '\n') + Iea + "~"
                + QByteArray(40000, ' '),
            { Isa().left(105), LongLx, Iea } }),
    [](const testing::TestParamInfo<SplitCase> &info) { return info.param.name; });

// The closing IEA and the next header at every place around the first chunk's end.
TEST_F(ReaderTest, SecondHeaderAcrossAChunkBoundary)
{
    const qint64 chunkEnd = InterchangeHeader::StandardLength + TGFile::ChunkSize;
    for (qint64 shift = 0; shift < 260; shift += 9) {
        // Where the second header starts: after the first header, its CR LF, the LX segment,
        // and the IEA, each with "~\r\n".
        const QByteArray lx = "LX*" + QByteArray(chunkEnd - shift - 132, '1');
        const QByteArray file = Isa() + "\r\n" + lx + "~\r\n" + Iea + "~\r\n" + PipeIsa + "GS|A!";
        ASSERT_EQ(file.indexOf(PipeIsa), chunkEnd - shift);
        TGFile reader(Write(file));
        ASSERT_EQ(reader.SegmentCount(), 5) << shift;
        EXPECT_EQ(TextOf(reader, 3), Iea) << shift;
        EXPECT_EQ(TextOf(reader, 4), PipeIsa.left(105)) << shift;
        EXPECT_EQ(TextOf(reader, 5), "GS|A") << shift;
    }
}

TEST_F(ReaderTest, EachInterchangeKeepsItsDelimitersAndHeaderLength)
{
    TGFile reader(Write(ShortIsa + "GS*IN~IEA*1*1~\r\n" + PipeIsa + "GS|IN!IEA|1|1!"));
    EXPECT_EQ(reader.SegmentCount(), 6);
    const std::vector<TGFile::Interchange> &interchanges = reader.Interchanges();
    ASSERT_EQ(interchanges.size(), 2u);
    EXPECT_EQ(interchanges[0].FirstSegment, 1);
    EXPECT_EQ(interchanges[0].Header.Length(), 94);
    EXPECT_EQ(interchanges[0].Header.LengthNote(),
        QStringLiteral(
            "The interchange header is 94 bytes long, not 106; its delimiters were found "
            "by counting its elements."));
    EXPECT_EQ(interchanges[1].FirstSegment, 4);
    EXPECT_EQ(interchanges[1].Offset, ShortIsa.size() + 16);
    EXPECT_TRUE(interchanges[1].Header.LengthNote().isEmpty());
    EXPECT_EQ(reader.SegmentDelimiters(3), (Delimiters { '*', ':', 0, '~' }));
    EXPECT_EQ(reader.SegmentDelimiters(4), (Delimiters { '|', '^', 0, '!' }));
    EXPECT_EQ(reader.SegmentDelimiters(6).Element, '|');
}

TEST_F(ReaderTest, OpeningLearnsDelimitersAndStartsOnTheHeader)
{
    TGFile reader(Write(Isa('|', '^', '\n') + "GS|IN|SENDERID|RECEIVERID\n"));
    EXPECT_EQ(reader.ElementSeparator(), '|');
    EXPECT_EQ(reader.ComponentSeparator(), '^');
    EXPECT_EQ(reader.SegmentTerminator(), '\n');
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
    EXPECT_EQ(reader.ScanPercent(), 106 * 100 / 179);
    reader.SegmentCount();
    EXPECT_EQ(reader.ScanPercent(), 100);
}

// Refused files: the message, and nothing left open or on disk.
struct RefusalCase
{
    const char *name;
    QByteArray bytes;
    const char *message;
};

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
        ADD_FAILURE() << "accepted";
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
        RefusalCase { "LowerCaseIsa", "isa" + Isa().mid(3) + Gs + "~", "Not a valid X12 file." },
        // Sizes count from the "ISA" after a byte-order mark.
        RefusalCase { "MarkThenHeaderOnly", "\xEF\xBB\xBF" + Isa(), "Invalid X12 file" },
        RefusalCase { "MarkThenSize107", "\xEF\xBB\xBF" + Isa() + "G", "Stream read error" },
        RefusalCase {
            "MarkWithoutIsa", "\xEF\xBB\xBF" + QByteArray(127, 'G'), "Not a valid X12 file." }),
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
    const struct
    {
        QString path;
        QString message;
    } cases[] = {
        { dir_.path(),
            QStringLiteral("Cannot open file \"%1\". It is a folder, not a file.")
                .arg(dir_.path()) },
        { fifo, QStringLiteral("Cannot open file \"%1\". Not a regular file").arg(fifo) },
    };
    for (const auto &c : cases) {
        try {
            TGFile reader(c.path);
            ADD_FAILURE() << "accepted " << qPrintable(c.path);
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
}

TEST_F(ReaderTest, NameThatIsNotUtf8IsOpenedByItsBytes)
{
    const QByteArray name = QFile::encodeName(dir_.path()) + "/bad\xff\xfename.x12";
    QFile file;
    const int fd = ::open(name.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle));
    file.write(CrLfFile);
    file.close();

    TGFile reader(FileNames::Decode(name));
    EXPECT_EQ(reader.SegmentCount(), 3);
    EXPECT_EQ(FileNames::Encode(reader.FileName()), name);
    try {
        TGFile missing(FileNames::Decode(QByteArray(name + "x")));
        ADD_FAILURE() << "accepted";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral(
                "Cannot open file \"%1/bad\uFFFD\uFFFDname.x12x\". No such file or directory")
                .arg(dir_.path()));
    }
}

// Enough segments that their records no longer fit in memory and go to a file.
QByteArray ManySegments(int count = 70000)
{
    QByteArray file = Isa() + "\r\n";
    for (int i = 0; i < count; ++i)
        file += "LX*" + QByteArray::number(i) + "~\r\n";
    return file;
}

TEST_F(ReaderTest, IndexFileHasNoNameAndGoesWithTheReader)
{
    const QString path = Write(ManySegments());
    const QStringList before = OpenUnnamedFiles();
    {
        TGFile small(Write(CrLfFile, QStringLiteral("small.x12")));
        small.SegmentCount();
        // A small file's index stays in memory.
        EXPECT_EQ(OpenUnnamedFiles(), before);

        TGFile reader(path);
        EXPECT_EQ(reader.SegmentCount(), 70001);
        EXPECT_TRUE(reader.IndexFileName().isEmpty());
        EXPECT_TRUE(IndexFilesLeft().isEmpty());
        EXPECT_EQ(OpenUnnamedFiles().size(), before.size() + 1);
        reader.GotoSegment(12345);
        EXPECT_EQ(reader.SegmentText(), "LX*12343");
    }
    EXPECT_EQ(OpenUnnamedFiles(), before);
}

// A reader that only goes forward makes no index file, however many segments a chunk ends:
// the next segment can always be made current, and one long gone cannot.
TEST_F(ReaderTest, ForwardReaderKeepsNoIndex)
{
    QByteArray file = Isa();
    for (int i = 0; i < 200000; ++i)
        file += i % 1000 == 0 ? "LX*" + QByteArray::number(i) + "~" : QByteArray("~");
    const QString path = Write(file);
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir_.filePath(QStringLiteral("missing"))));
    TGFile reader(path);
    reader.KeepNoIndex();
    qint64 previous = 0;
    while (reader.CurrentSegment() != previous) {
        const qint64 number = reader.CurrentSegment();
        const qint64 i = number - 2; // segment 2 is the first after the header
        ASSERT_EQ(reader.SegmentText(),
            number == 1 ? Isa().left(105)
                        : (i % 1000 == 0 ? "LX*" + QByteArray::number(i) : QByteArray()))
            << number;
        previous = number;
        reader.GotoSegment(number + 1);
    }
    EXPECT_EQ(reader.CurrentSegment(), 200001);
    EXPECT_THROW(reader.GotoSegment(2), EInOutError);
    qputenv("TMPDIR", saved);
}

TEST_F(ReaderTest, UnusableTemporaryFolderIsNamedWithTheReason)
{
    const QString path = Write(ManySegments());
    const QString notAFolder = Write("x", QStringLiteral("not-a-folder"));
    const QByteArray saved = qgetenv("TMPDIR");
    const struct
    {
        QString folder;
        int error;
        const char *reason;
    } cases[] = {
        { dir_.filePath("gone"), ENOENT, "No such file or directory" },
        { notAFolder, ENOTDIR, "Not a directory" },
    };
    for (const auto &c : cases) {
        qputenv("TMPDIR", QFile::encodeName(c.folder));
        // The folder is needed only once the records no longer fit in memory.
        TGFile reader(path);
        try {
            reader.SegmentCount();
            ADD_FAILURE() << "counted";
        } catch (const EInOutError &e) {
            EXPECT_EQ(e.ErrorCode(), c.error);
            EXPECT_EQ(e.Message(),
                QStringLiteral("Cannot create the index file in %1: %2 (I/O error %3)")
                    .arg(c.folder, QLatin1String(c.reason))
                    .arg(c.error));
        }
    }
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
            EXPECT_EQ(e.ErrorCode(), EINVAL);
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

// Another program changes the file while a reader holds it: the reader says so rather than
// give what the file no longer holds, or count what it never held.
TEST_F(ReaderTest, FileChangedOnDiskIsAnError)
{
    QByteArray file = Isa() + "\r\n";
    while (file.size() < 3 * 1024 * 1024)
        file += "PO1*1*48*EA*12.75**UP*036000291452~\r\n";
    const QString message
        = QStringLiteral("The file \"%1\" has changed on disk while it was being read")
              .arg(dir_.filePath("file.edi"));
    const auto expectChanged = [&](const std::function<void()> &step) {
        try {
            step();
            ADD_FAILURE() << "no error";
        } catch (const EFileChanged &e) {
            EXPECT_EQ(e.Message(), message);
        }
    };

    // Cut short while it is counted.
    const QString path = Write(file);
    {
        TGFile reader(path);
        reader.GotoSegment(10);
        QFile::resize(path, 2 * 1024 * 1024);
        expectChanged([&] { reader.SegmentCount(); });
        EXPECT_EQ(reader.CurrentSegment(), 10);
    }
    // Grown while it is counted: the bytes counted are not the file's any more.
    Write(file);
    {
        TGFile reader(path);
        reader.GotoSegment(10);
        QFile grow(path);
        ASSERT_TRUE(grow.open(QIODevice::Append));
        grow.write("PO1*2~\r\n");
        grow.close();
        expectChanged([&] { reader.SegmentCount(); });
    }
    // Cut short once counted: fetching what is no longer there.
    Write(file);
    {
        TGFile reader(path);
        reader.SegmentCount();
        QFile::resize(path, 1000);
        expectChanged([&] { reader.GotoSegment(2); });
    }
    // Deleted: the reader still reads the file it opened.
    Write(file);
    {
        TGFile reader(path);
        QFile::remove(path);
        EXPECT_GT(reader.SegmentCount(), 80000);
    }
}

TEST_F(ReaderTest, SegmentLongerThanTheLimitIsRefusedWhileScanning)
{
    // A file without a terminator after its header: sparse, so nothing is written.
    const QString path = Write(Isa() + "GS*");
    ASSERT_TRUE(QFile::resize(path, TGFile::MaxSegmentLength + 1000));
    TGFile reader(path);
    try {
        reader.SegmentCount();
        ADD_FAILURE() << "counted";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(),
            QStringLiteral(
                "Segment 2 is longer than %1 bytes, the longest segment Brimlet reads: its "
                "terminator \"~\" is missing or not the file's")
                .arg(QLocale::system().toString(TGFile::MaxSegmentLength)));
    }
}

TEST_F(ReaderTest, ScanObserverSeesEverySegmentInOrder)
{
    const QByteArray lx = "LX*" + QByteArray(40000, '2');
    TGFile reader(Write(CrLfFile + PipeIsa + "\n" + lx + "!N1|ST!IEA|1|7!"));
    QList<QByteArray> heads;
    QList<qint64> numbers;
    QList<char> separators;
    reader.SetScanObserver(
        [&](qint64 number, const IndexRecord &record, QByteArrayView head, const Delimiters &d) {
            numbers.append(number);
            heads.append(head.toByteArray());
            separators.append(d.Element);
            EXPECT_EQ(record.Length, reader.SegmentRecord(number).Length);
        });
    EXPECT_EQ(reader.SegmentCount(), 7);
    EXPECT_EQ(numbers, QList<qint64>({ 1, 2, 3, 4, 5, 6, 7 }));
    EXPECT_EQ(heads,
        QList<QByteArray>({ Isa().left(105), Gs, Iea, PipeIsa.left(105),
            lx.left(TGFile::ObservedHeadLength), "N1|ST", "IEA|1|7" }));
    EXPECT_EQ(separators, QList<char>({ '*', '*', '*', '|', '|', '|', '|' }));

    // Whole segments, for a reader that writes them out as it scans.
    TGFile whole(
        Write(CrLfFile + PipeIsa + "\n" + lx + "!N1|ST!IEA|1|7!", QStringLiteral("b.x12")));
    heads.clear();
    whole.SetScanObserver([&](qint64, const IndexRecord &, QByteArrayView head,
                              const Delimiters &) { heads.append(head.toByteArray()); },
        TGFile::MaxSegmentLength);
    whole.SegmentCount();
    EXPECT_EQ(heads.value(4), lx);
}

} // namespace
