#include "SegmentIndexFile.h"

#include "Exception.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

namespace {

TEST(SegmentIndexFileTest, ReadsBackWhatWasAppendedInAnyOrder)
{
    SegmentIndexFile index(QDir::tempPath());
    for (qint64 i = 0; i < 20000; ++i)
        index.Append({ i * 7, qint32(i % 1000) });
    for (qint64 i : { 19999, 0, 12345, 4095, 4096, 8191, 19998, 1 }) {
        const IndexRecord r = index.Read(i);
        EXPECT_EQ(r.Offset, i * 7);
        EXPECT_EQ(r.Length, i % 1000);
    }
    EXPECT_THROW(index.Read(-1), EInOutError);
    EXPECT_THROW(index.Read(20000), EInOutError);
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
// folder, holding 16-byte records in order, gone with the object.
TEST(SegmentIndexFileTest, NamedFileHoldsSixteenByteRecordsInOrder)
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
        ASSERT_GE(bytes.size(), 65536 * 16);
        const QByteArray first = QByteArray::fromHex("6900000000000000"
                                                     "69000000"
                                                     "00000000"
                                                     "7000000000000000"
                                                     "04000000"
                                                     "00000000");
        EXPECT_EQ(bytes.left(32), first);
    }
    EXPECT_FALSE(QFile::exists(name));
}

// Record positions pass 2 GiB, the limit of a 32-bit byte offset in the file.
TEST(SegmentIndexFileTest, HoldsMoreThanTwoToTheTwentySevenRecords)
{
    const qint64 count = (qint64(1) << 27) + 5;
    if (QStorageInfo(QDir::tempPath()).bytesAvailable() < (qint64(5) << 30))
        GTEST_SKIP() << "needs 5 GiB free in the temporary folder";
    SegmentIndexFile index(QDir::tempPath());
    for (qint64 i = 0; i < count; ++i)
        index.Append({ i * 30, 28 });
    EXPECT_TRUE(index.HasFile());
    for (qint64 i : { count - 1, count - 4097, qint64(1) << 27, qint64(0) }) {
        const IndexRecord r = index.Read(i);
        EXPECT_EQ(r.Offset, i * 30) << i;
        EXPECT_EQ(r.Length, 28);
    }
}

} // namespace
