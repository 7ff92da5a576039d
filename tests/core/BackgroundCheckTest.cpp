#include "BackgroundCheck.h"

#include "EnvelopeFixture.h"
#include "IndexedFile.h"
#include "TestFolder.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include <memory>
#include <utility>
#include <vector>

namespace {

using Problems = std::vector<std::pair<qint64, QString>>;

Problems Listed(const EnvelopeProblems &problems)
{
    Problems listed;
    for (qint64 i = 0; i < problems.Count(); ++i)
        listed.emplace_back(problems.Segment(i), problems.Message(i));
    return listed;
}

// count transaction sets in one group, each of filler segments; the set at wrongCount says
// it has one segment more than it has.
QByteArrayList Sets(int count, int filler, int wrongCount)
{
    QByteArrayList segments
        = { EnvelopeFixture::Isa(), "GS*IN*SENDERID*RECEIVERID*20240102*0930*7*X*004010" };
    for (int set = 1; set <= count; ++set) {
        const QByteArray control = QByteArray::number(set).rightJustified(4, '0');
        segments += "ST*810*" + control;
        for (int i = 0; i < filler; ++i)
            segments += "IT1*" + QByteArray::number(i) + "*48*EA*12.75**UP*036000291452";
        const int told = filler + 2 + (set == wrongCount ? 1 : 0);
        segments += "SE*" + QByteArray::number(told) + "*" + control;
    }
    segments += { "GE*" + QByteArray::number(count) + "*7", "IEA*1*000000007" };
    return segments;
}

class BackgroundCheckTest : public testing::Test
{
protected:
    // The file of segments indexed, slowed by delay a chunk, and its check started.
    void Start(const QByteArrayList &segments, std::chrono::milliseconds delay)
    {
        check_.reset();
        lines_ = std::make_unique<IndexedFile>(
            dir_.Write(QStringLiteral("check.x12"), segments.join("~\r\n") + "~\r\n"));
        lines_->Start({ delay });
        check_ = std::make_unique<BackgroundCheck>(*lines_);
        check_->Start();
    }

    // Takes the check's snapshots until it ends; each is checked against the lines there were
    // when it was taken.
    std::vector<BackgroundCheck::Snapshot> Follow()
    {
        BackgroundCheck &check = *check_;
        IndexedFile &lines = *lines_;
        std::vector<BackgroundCheck::Snapshot> taken;
        QElapsedTimer waited;
        waited.start();
        for (bool ended = false; !ended && waited.elapsed() < 30000; QThread::msleep(2)) {
            ended = check.Ended();
            std::optional<BackgroundCheck::Snapshot> snapshot = check.Take();
            if (!snapshot)
                continue;
            EXPECT_LE(snapshot->Outline.LastSegment(), lines.LineCount())
                << "the outline went past the lines published";
            taken.push_back(std::move(*snapshot));
        }
        EXPECT_TRUE(check.Ended()) << "the check did not end";
        return taken;
    }

    TestFolder dir_;
    std::unique_ptr<IndexedFile> lines_;
    std::unique_ptr<BackgroundCheck> check_; // goes first
};

// Slowed indexing: the check keeps behind the lines published, and its end is the check of
// the whole file, as one made in a single pass finds it.
TEST_F(BackgroundCheckTest, FollowsTheLinesAndEndsWithTheWholeFilesCheck)
{
    const QByteArrayList segments = Sets(3000, 8, 2000);
    Start(segments, std::chrono::milliseconds(10));
    const std::vector<BackgroundCheck::Snapshot> taken = Follow();

    ASSERT_FALSE(taken.empty());
    EXPECT_GT(taken.size(), 1u) << "no snapshot while the file was indexed";
    const BackgroundCheck::Snapshot &last = taken.back();
    ASSERT_TRUE(last.Complete);
    EXPECT_EQ(lines_->CurrentState(), IndexedFile::State::Complete);
    EXPECT_EQ(last.Outline.LastSegment(), segments.size());
    EXPECT_EQ(last.Outline.SetCount(), 3000);
    EXPECT_EQ(Listed(last.Problems), Listed(EnvelopeFixture::ProblemsOf(segments)));
    EXPECT_EQ(last.Problems.Count(), 1);
    for (size_t i = 0; i + 1 < taken.size(); ++i)
        EXPECT_FALSE(taken[i].Complete);
}

// An indexing stopped or closed ends the check with what it found so far, said to be partial.
TEST_F(BackgroundCheckTest, EndsWithTheIndexingItFollows)
{
    const QByteArrayList segments = Sets(3000, 8, 0);
    Start(segments, std::chrono::milliseconds(5));
    QThread::msleep(50);
    lines_->Stop();
    const std::vector<BackgroundCheck::Snapshot> taken = Follow();
    ASSERT_FALSE(taken.empty());
    EXPECT_FALSE(taken.back().Complete);
    EXPECT_LT(taken.back().Outline.LastSegment(), segments.size());

    // Closed while it runs: the destructor stops it, and only it.
    Start(segments, std::chrono::milliseconds(20));
    QThread::msleep(20);
    check_.reset();
    EXPECT_EQ(lines_->CurrentState(), IndexedFile::State::Indexing);
}

} // namespace
