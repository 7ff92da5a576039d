#include "BackgroundCheck.h"

#include "Exception.h"
#include "GFileIO.h"
#include "IndexedFile.h"

#include <algorithm>
#include <new>

namespace {

// Raised in the check's thread to end it early.
struct StopChecking
{
};

// How long the check waits before it looks again at lines it has caught up with.
constexpr auto CatchUpWait = std::chrono::milliseconds(1);

} // namespace

BackgroundCheck::BackgroundCheck(const IndexedFile &lines)
    : lines_(lines)
{ }

BackgroundCheck::~BackgroundCheck()
{
    Stop();
}

void BackgroundCheck::Start()
{
    if (thread_.joinable() || Ended())
        return;
    thread_ = std::thread([this] { Run(); });
}

void BackgroundCheck::Stop()
{
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    ended_.store(true, std::memory_order_release);
}

void BackgroundCheck::Run()
{
    try {
        // Only forward: the reader keeps no index of its own.
        TGFile reader(lines_.FileName());
        reader.KeepNoIndex();
        reader.SetScanObserver(checker_.Observer());
        // Each chunk is read once the lines hold all of it, so that whatever the check has
        // been told, and a snapshot shows, is a line.
        const auto waitForNextChunk = [&] {
            WaitForLines(std::min(reader.ScanPosition() + TGFile::ChunkSize, reader.FileSize()));
        };
        waitForNextChunk();
        reader.SegmentCount([&] {
            waitForNextChunk();
            // Snapshots a few times a second: a copy of many problems is not free.
            const auto now = std::chrono::steady_clock::now();
            if (now - lastSnapshot_ >= SnapshotInterval) {
                lastSnapshot_ = now;
                Hand({ checker_.Outline(), checker_.Problems(), false });
            }
        });
        // Complete only when the lines are: they may yet end short of what the check read.
        WaitForLines(-1);
        checker_.Finish();
        Hand({ checker_.TakeOutline(), checker_.TakeProblems(), true });
    } catch (const StopChecking &) {
        HandSoFar();
    } catch (const Exception &) {
        // The indexing reads the same file and tells the user what went wrong.
        HandSoFar();
    } catch (const std::bad_alloc &) {
        // Nothing more is kept: what is there may be what used the memory up.
    }
    ended_.store(true, std::memory_order_release);
}

void BackgroundCheck::WaitForLines(qint64 position)
{
    for (;;) {
        if (stop_.load(std::memory_order_relaxed))
            throw StopChecking();
        const IndexedFile::State state = lines_.CurrentState();
        if (state == IndexedFile::State::Complete)
            return;
        if (state != IndexedFile::State::Indexing)
            throw StopChecking();
        if (position >= 0 && position <= lines_.PublishedBytes())
            return;
        std::this_thread::sleep_for(CatchUpWait);
    }
}

void BackgroundCheck::HandSoFar()
{
    try {
        Hand({ checker_.Outline(), checker_.Problems(), false });
    } catch (const std::bad_alloc &) {
        // The snapshot handed before stays.
    }
}

void BackgroundCheck::Hand(Snapshot snapshot)
{
    const std::lock_guard<std::mutex> lock(mutex_);
    pending_ = std::move(snapshot);
}

std::optional<BackgroundCheck::Snapshot> BackgroundCheck::Take()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    std::optional<Snapshot> taken = std::move(pending_);
    pending_.reset();
    return taken;
}
