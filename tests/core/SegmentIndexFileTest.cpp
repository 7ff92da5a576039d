#include "SegmentIndexFile.h"

#include "Exception.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <atomic>
#include <thread>

namespace {

TEST(SegmentIndexFileTest, ReadsBackWhatWasAppendedInAnyOrder)
{
    SegmentIndexFile index(QDir::tempPath());
    for (qint64 i = 0; i < 200000; ++i)
        index.Append({ i * 7, qint32(i % 1000) });
    // Lengths of 16 MiB and more are kept beside the records.
    index.Append({ 1400000, (16 << 20) - 1 });
    index.Append({ 1500000, 16 << 20 });
    index.Append({ SegmentIndexFile::MaxOffset, qint32(1) << 30 });
    EXPECT_TRUE(index.HasFile());
    for (qint64 i : { 199999, 0, 12345, 4095, 65536, 65535, 131071, 199998, 1 }) {
        const IndexRecord r = index.Read(i);
        EXPECT_EQ(r.Offset, i * 7) << i;
        EXPECT_EQ(r.Length, i % 1000) << i;
    }
    EXPECT_EQ(index.Read(200000).Length, (16 << 20) - 1);
    EXPECT_EQ(index.Read(200001).Length, 16 << 20);
    EXPECT_EQ(index.Read(200002).Offset, SegmentIndexFile::MaxOffset);
    EXPECT_EQ(index.Read(200002).Length, qint32(1) << 30);
    EXPECT_THROW(index.Read(-1), EInOutError);
    EXPECT_THROW(index.Read(200003), EInOutError);
}

// For a reader that only goes forward: no file, however many records; at least the latest
// are still there, in any order, and older ones are refused rather than read from nowhere.
TEST(SegmentIndexFileTest, DroppingOlderRecordsMakesNoFile)
{
    SegmentIndexFile index(QDir::tempPath() + QLatin1String("/missing"));
    index.DropOlderRecords(1000);
    for (qint64 i = 0; i < 200000; ++i) {
        index.Append({ i * 7, 5 });
        if (i % 777 == 0) {
            for (qint64 back : { qint64(0), qint64(999), i / 2 }) {
                if (back <= i && back < 1000) {
                    EXPECT_EQ(index.Read(i - back).Offset, (i - back) * 7) << i << " " << back;
                }
            }
        }
    }
    EXPECT_FALSE(index.HasFile());
    EXPECT_EQ(index.Count(), 200000);
    for (qint64 i = 199999; i > 199999 - 1000; --i)
        ASSERT_EQ(index.Read(i).Offset, i * 7) << i;
    EXPECT_THROW(index.Read(0), EInOutError);
    EXPECT_THROW(index.Read(100000), EInOutError);
}

// The named way, where unnamed files are refused: a file "x12" and six more characters in the
// folder, holding 8-byte records in order (a 40-bit offset, a 24-bit length), gone with the
// object.
TEST(SegmentIndexFileTest, NamedFileHoldsEightByteRecordsInOrder)
{
    QString name;
    {
        SegmentIndexFile index(QDir::tempPath(), SegmentIndexFile::Naming::Named);
        for (qint64 i = 0; i < 70000; ++i)
            index.Append({ 105 + 7 * i, qint32(i == 0 ? 105 : 4) });
        EXPECT_EQ(index.Read(0).Offset, 105);
        name = index.FileName();
        EXPECT_EQ(QFileInfo(name).absolutePath(), QDir::tempPath());
        EXPECT_TRUE(QFileInfo(name).fileName().startsWith(QLatin1String("x12")));
        EXPECT_EQ(QFileInfo(name).fileName().size(), 9);

        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_EQ(bytes.size(), 65536 * 8);
        EXPECT_EQ(bytes.left(16),
            QByteArray::fromHex("6900000000690000"
                                "7000000000040000"));
    }
    EXPECT_FALSE(QFile::exists(name));
}

// Positions in the text of all segments each followed by one line break, and back.
TEST(SegmentIndexFileTest, PublishedRecordsGivePositionsBothWays)
{
    SegmentIndexFile index(QDir::tempPath());
    SegmentIndexFile::Reader reader(index);
    EXPECT_EQ(reader.Count(), 0);
    EXPECT_EQ(reader.Position(0), 0);
    EXPECT_EQ(reader.RecordAt(5), 0);

    const qint64 count = 3 * SegmentIndexFile::CheckpointStep;
    std::vector<qint64> starts;
    qint64 position = 0;
    for (qint64 i = 0; i < count; ++i) {
        index.Append({ i * 100, qint32(i % 7) });
        starts.push_back(position);
        position += i % 7 + 1;
    }
    EXPECT_EQ(reader.Count(), 0); // nothing is readable before it is published
    index.Publish();
    ASSERT_EQ(reader.Count(), count);
    for (qint64 i : { qint64(0), qint64(1), qint64(1023), qint64(1024), qint64(2047), count - 1 }) {
        EXPECT_EQ(reader.Position(i), starts[size_t(i)]) << i;
        EXPECT_EQ(reader.RecordAt(starts[size_t(i)]), i) << i;
        // The line break at the end of a record belongs to it.
        EXPECT_EQ(reader.RecordAt(starts[size_t(i)] + i % 7), i) << i;
    }
    EXPECT_EQ(reader.Position(count), position);
    EXPECT_EQ(reader.RecordAt(position), count);
    EXPECT_EQ(reader.Longest().second, 6);
    EXPECT_EQ(reader.Longest().first, 6);
}

// One thread appends and publishes while another reads what is published: every record it
// sees is whole and in its place.
TEST(SegmentIndexFileTest, ReadersSeeOnlyWholePublishedRecords)
{
    SegmentIndexFile index(QDir::tempPath());
    const qint64 count = 500000;
    std::atomic<bool> done { false };
    std::thread writer([&] {
        for (qint64 i = 0; i < count; ++i) {
            index.Append({ i * 3, qint32(i % 50) });
            if (i % 10007 == 0)
                index.Publish();
        }
        index.Publish();
        done = true;
    });
    SegmentIndexFile::Reader reader(index);
    qint64 seen = 0;
    bool sound = true;
    while (!done || seen < reader.Count()) {
        const qint64 available = reader.Count();
        for (; seen < available && sound; ++seen) {
            const IndexRecord r = reader.Read(seen);
            sound = r.Offset == seen * 3 && r.Length == seen % 50;
        }
        if (seen > 0 && sound)
            sound = reader.Position(seen) > 0;
    }
    writer.join();
    EXPECT_TRUE(sound);
    EXPECT_EQ(seen, count);
}

// Record positions pass 2 GiB, the limit of a 32-bit byte offset in the file.
TEST(SegmentIndexFileTest, HoldsMoreThanTwoToTheTwentyEightRecords)
{
    const qint64 count = (qint64(1) << 28) + 5;
    if (QStorageInfo(QDir::tempPath()).bytesAvailable() < (qint64(5) << 30))
        GTEST_SKIP() << "needs 5 GiB free in the temporary folder";
    SegmentIndexFile index(QDir::tempPath());
    for (qint64 i = 0; i < count; ++i)
        index.Append({ i * 30, 28 });
    EXPECT_TRUE(index.HasFile());
    for (qint64 i : { count - 1, count - 4097, qint64(1) << 28, qint64(0) }) {
        const IndexRecord r = index.Read(i);
        EXPECT_EQ(r.Offset, i * 30) << i;
        EXPECT_EQ(r.Length, 28);
    }
}

} // namespace
