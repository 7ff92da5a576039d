// Files that change under a reader, odd delimiters, huge segments and huge folders: the reader
// and the folder search keep going, keep their results sound and leave nothing behind.

#include "FolderSearch.h"
#include "GFileIO.h"

#include "Exception.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cerrno>

namespace {

class FaultTest : public testing::Test
{
protected:
    // The rows of a search of the whole folder; onStatus runs on every status text.
    QStringList Search(const QString &text, std::function<void(const QString &)> onStatus = {},
        QStringList *problems = nullptr)
    {
        QStringList found;
        FolderSearch::Callbacks callbacks;
        callbacks.Problem = [&](const QString &, const QString &message) {
            if (problems)
                problems->append(message);
        };
        callbacks.Status = [&](const QString &status) {
            if (onStatus)
                onStatus(status);
        };
        callbacks.AppendRow = [&](const SearchResultRow &row) { found.append(row.Path()); };
        FolderSearchInputs inputs;
        inputs.Folder = dir_.path();
        inputs.SearchText = text;
        inputs.SearchSubdirectories = true;
        EXPECT_EQ(FolderSearch(inputs, callbacks).Run(), FolderSearch::Outcome::Completed);
        found.sort();
        return found;
    }

    TestFolder dir_;
};

QByteArray Interchange(const QByteArray &body)
{
    return X12Builder::Interchange({ body, "IEA*1*000000007" });
}

// A standard header with the delimiter b in every place a delimiter goes, and filler in every
// element, so that no other byte of it is b.
QByteArray HeaderOf(char b, char filler)
{
    QByteArray isa = "ISA";
    for (int width : { 2, 10, 2, 10, 2, 15, 2, 15, 6, 4, 1, 5, 9, 1, 1 })
        isa += b + QByteArray(width, filler);
    return isa + b + b + b;
}

// Any byte may be a file's element separator, component separator and terminator at once.
TEST_F(FaultTest, EveryByteValueCanBeTheDelimiters)
{
    for (int value = 0; value < 256; ++value) {
        const char b = char(value);
        // Segment bytes that are never the delimiter.
        const char filler = value == 'A' ? 'B' : 'A';
        QByteArray file = HeaderOf(b, filler);
        ASSERT_EQ(file.size(), 106);
        QList<QByteArray> segments;
        for (int i = 1; i <= 40; ++i) {
            QByteArray segment(i, filler);
            segments.append(segment);
            file += segment + b;
        }
        TGFile reader(dir_.Write(QStringLiteral("delimiters.edi"), file));
        ASSERT_EQ(reader.SegmentCount(), 41) << value;
        for (int i = 0; i < segments.size(); ++i) {
            reader.GotoSegment(i + 2);
            ASSERT_EQ(reader.SegmentText(), segments[i]) << value;
        }
        EXPECT_EQ(reader.ElementSeparator(), b);
        EXPECT_EQ(reader.SegmentTerminator(), b);
    }
}

TEST_F(FaultTest, OneHundredMegabyteSegmentIsReadWhole)
{
    const qsizetype length = 100 * 1024 * 1024;
    QByteArray huge(length, 'X');
    huge.replace(0, 3, "GS*");
    TGFile reader(dir_.Write(QStringLiteral("huge.x12"), Interchange(huge)));
    EXPECT_EQ(reader.SegmentCount(), 3);
    reader.GotoSegment(2);
    EXPECT_EQ(reader.SegmentText().size(), length);
    EXPECT_TRUE(reader.SegmentText() == huge);
    reader.GotoSegment(3);
    EXPECT_EQ(reader.SegmentText(), "IEA*1*000000007");
}

// Each candidate is changed by another program right after its reader opened it.
TEST_F(FaultTest, FolderSearchGoesOnWhenFilesChangeWhileRead)
{
    QByteArray big = "GS*IN";
    for (int i = 0; i < 100000; ++i)
        big += "~\r\nLX*" + QByteArray::number(i);
    const QString truncated
        = dir_.Write(QStringLiteral("a/truncated.x12"), Interchange(big + "~N1*MARK"));
    const QString deleted
        = dir_.Write(QStringLiteral("b/deleted.x12"), Interchange(big + "~N1*MARK"));
    const QString grown = dir_.Write(QStringLiteral("c/grown.x12"), Interchange("GS*IN"));
    const QString steady = dir_.Write(QStringLiteral("d/steady.x12"), Interchange("N1*MARK"));

    QStringList problems;
    const QStringList found = Search(
        QStringLiteral("MARK"),
        [&](const QString &status) {
            if (status == truncated)
                QFile::resize(truncated, 5000);
            else if (status == deleted)
                QFile::remove(deleted);
            else if (status == grown) {
                QFile file(grown);
                if (file.open(QIODevice::Append))
                    file.write("N1*MARK~\r\n");
            }
        },
        &problems);
    // The deleted file is still read through its open handle; the truncated one is said to
    // have changed; bytes appended after the opening are not seen.
    EXPECT_EQ(found, QStringList({ deleted, steady }));
    EXPECT_EQ(problems,
        QStringList({ QStringLiteral("\"%1\" could not be searched: The file \"%1\" has changed "
                                     "on disk while it was being read")
                          .arg(truncated) }));
    EXPECT_TRUE(IndexFilesLeft().isEmpty());
}

TEST_F(FaultTest, FolderOfAHundredThousandFilesWithALinkCycle)
{
    const int count = 100000;
    QStringList expected;
    for (int i = 0; i < count; ++i) {
        const bool marked = i % 997 == 0;
        const QString path = dir_.Write(
            QStringLiteral("many/f%1.x12").arg(i), Interchange(marked ? "N1*MARK" : "N1*NONE"));
        if (marked)
            expected.append(path);
    }
    QDir(dir_.path()).mkpath(QStringLiteral("loop"));
    ASSERT_TRUE(QFile::link(dir_.path(), dir_.filePath(QStringLiteral("loop/back"))));
    expected.sort();

    int statuses = 0;
    EXPECT_EQ(Search(QStringLiteral("MARK"), [&](const QString &) { ++statuses; }), expected);
    EXPECT_EQ(statuses, count + 2); // building, one per file, complete
    EXPECT_TRUE(IndexFilesLeft().isEmpty());
}

} // namespace
