#include "IndexedFile.h"

#include "Exception.h"
#include "MemoryLineSource.h"
#include "RawDataModel.h"
#include "TestEnvironment.h"
#include "TestFolder.h"
#include "X12Builder.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

namespace {

class IndexedFileTest : public testing::Test
{
protected:
    QString Write(const QByteArray &bytes) { return dir_.Write(QStringLiteral("file.x12"), bytes); }

    // Waits for the indexing thread to end, as a window's timer would.
    static void WaitForEnd(IndexedFile &file)
    {
        QElapsedTimer waited;
        waited.start();
        while (file.CurrentState() == IndexedFile::State::Indexing && waited.elapsed() < 30000)
            QThread::msleep(1);
    }

    TestFolder dir_;
};

// Segments around the file's pages: lengths, bytes of a line across a page boundary, positions
// in the text of lines and breaks, and each interchange's delimiters.
TEST_F(IndexedFileTest, LinesComeFromTheIndexAndThePages)
{
    QByteArrayList segments;
    QByteArray bytes = X12Builder::Isa() + "\r\n";
    segments.append(X12Builder::Isa().left(105));
    for (int i = 0; i < 3000; ++i) {
        const QByteArray segment = "LX*" + QByteArray(i % 97, char('A' + i % 26));
        segments.append(segment);
        bytes += segment + "~\r\n";
    }
    const QByteArray pipeIsa = X12Builder::Isa('|', '^', '!');
    bytes += "IEA*1*000000007~\r\n" + pipeIsa + "GS|A!" + QByteArray(70000, 'B') + "!";
    segments += { "IEA*1*000000007", pipeIsa.left(105), "GS|A", QByteArray(70000, 'B') };

    IndexedFile file(Write(bytes));
    EXPECT_GE(file.LineCount(), 1); // the header, at once
    file.Start();
    WaitForEnd(file);
    ASSERT_EQ(file.CurrentState(), IndexedFile::State::Complete);
    ASSERT_EQ(file.LineCount(), segments.size());
    EXPECT_TRUE(file.Complete());
    EXPECT_EQ(file.ScanPercent(), 100);

    qint64 position = 0;
    for (qint64 line = 0; line < segments.size(); ++line) {
        const QByteArray &segment = segments[line];
        ASSERT_EQ(file.LineLength(line), segment.size()) << line;
        ASSERT_EQ(file.LineStart(line), position) << line;
        ASSERT_EQ(file.LineAt(position + segment.size()), line) << line; // its line break
        position += segment.size() + 1;
    }
    EXPECT_EQ(file.LineStart(segments.size()), position);
    EXPECT_EQ(file.LineAt(position), segments.size());

    const qint64 last = segments.size() - 1;
    EXPECT_EQ(file.LineBytes(last, 0, 70000), segments[last]); // across page boundaries
    EXPECT_EQ(file.LineBytes(last, 69990, 100), QByteArray(10, 'B'));
    EXPECT_EQ(file.LineBytes(1, 2, 100), segments[1].mid(2));
    EXPECT_EQ(file.LongestLine(), last);
    EXPECT_EQ(file.LineDelimiters(2).Element, '*');
    EXPECT_EQ(file.LineDelimiters(last).Element, '|');
    EXPECT_EQ(file.LineDelimiters(last).Segment, '!');
    EXPECT_FALSE(file.ChangedOnDisk());
}

// The find that reads the file in blocks finds what a line-by-line find of the same lines
// finds: the first match, either case, whole words, and nothing across two segments.
TEST_F(IndexedFileTest, BlockFindAgreesWithALineByLineFind)
{
    QRandomGenerator random(7);
    QByteArray bytes = X12Builder::Isa() + "\r\n";
    while (bytes.size() < 3 * 1024 * 1024) {
        QByteArray segment(random.bounded(0, 40), 'a');
        for (char &c : segment)
            c = "abAB _e\xE9\xC9*\0"[random.bounded(11)];
        bytes += segment + (random.bounded(2) ? "~\r\n" : "~");
    }
    IndexedFile file(Write(bytes));
    file.Start();
    WaitForEnd(file);
    // The same lines, held in memory.
    MemoryLineSource lines;
    for (qint64 line = 0; line < file.LineCount(); ++line)
        lines.Append(file.LineBytes(line, 0, file.LineLength(line)));
    const qint64 length = lines.LineStart(lines.LineCount());
    for (int k = 0; k < 300; ++k) {
        QByteArray text(random.bounded(1, 5), 'a');
        for (char &c : text)
            c = "abAB _\xE9*~"[random.bounded(9)];
        const qint64 start = random.bounded(length);
        const qint64 end = start + random.bounded(length - start + 1);
        const bool matchCase = random.bounded(2);
        const bool wholeWord = random.bounded(2);
        RawDataModel model;
        model.SetSource(&lines);
        const qint64 expected = model.FindText(text, start, end - start, matchCase, wholeWord);
        ASSERT_EQ(file.FindInLines(text, start, end, matchCase, wholeWord), expected)
            << text.toHex().constData() << " " << start << " " << end << " " << matchCase
            << wholeWord;
    }
}

// Cut short while it is indexed, or once it is: the lines read so far stay, and the file is
// known to have changed; nothing raises.
TEST_F(IndexedFileTest, FileCutShortIsToldAndNeverRaises)
{
    QByteArray bytes = X12Builder::Isa() + "\r\n";
    while (bytes.size() < 8 * 1024 * 1024)
        bytes += "PO1*1*48*EA*12.75**UP*036000291452~\r\n";
    const QString path = Write(bytes);

    IndexedFile file(path);
    file.Start();
    QFile::resize(path, 4 * 1024 * 1024);
    WaitForEnd(file);
    EXPECT_TRUE(file.ChangedOnDisk());
    if (file.CurrentState() == IndexedFile::State::Failed) {
        EXPECT_EQ(file.FailureMessage(),
            QStringLiteral("The file \"%1\" has changed on disk while it was being read")
                .arg(path));
    }
    const qint64 lines = file.LineCount();
    ASSERT_GT(lines, 0);
    // A line past the new end comes back short, not as an error.
    EXPECT_LE(file.LineBytes(lines - 1, 0, 100).size(), 36);
}

TEST_F(IndexedFileTest, StoppedEarlyKeepsWhatItHasAndLeavesNothing)
{
    QByteArray bytes = X12Builder::Isa() + "\r\n";
    while (bytes.size() < 32 * 1024 * 1024)
        bytes += "LX*1~\r\n";
    {
        IndexedFile file(Write(bytes));
        file.Start();
        file.Stop();
        EXPECT_NE(file.CurrentState(), IndexedFile::State::Indexing);
        EXPECT_GE(file.LineCount(), 1);
        EXPECT_EQ(OpenUnnamedFiles().size(), 1);
    }
    EXPECT_TRUE(OpenUnnamedFiles().isEmpty());
}

// The checks of the opening are made before any thread runs.
TEST_F(IndexedFileTest, RefusalsAndAnUnusableTemporaryFolderRaiseAtOnce)
{
    EXPECT_THROW(IndexedFile(Write("not an interchange")), ENotX12);
    const QString path
        = Write(X12Builder::Interchange({ "GS*IN*SENDER*RECEIVER*20240102*0930*7*X*004010" }));
    const QByteArray saved = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(dir_.filePath(QStringLiteral("gone"))));
    EXPECT_THROW(IndexedFile file(path), EInOutError);
    qputenv("TMPDIR", saved);
}

} // namespace
