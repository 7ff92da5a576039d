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
    EXPECT_GE(QFileInfo(index.FileName()).size(), (qint64(1) << 31));
    for (qint64 i : { count - 1, count - 4097, qint64(1) << 27, qint64(0) }) {
        const IndexRecord r = index.Read(i);
        EXPECT_EQ(r.Offset, i * 30) << i;
        EXPECT_EQ(r.Length, 28);
    }
}

} // namespace
