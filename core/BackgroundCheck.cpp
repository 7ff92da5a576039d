#include "BackgroundCheck.h"

#include "GFileIO.h"

void BackgroundCheck::Prepare(TGFile &reader)
{
    reader.SetScanObserver(checker_.Observer());
}

void BackgroundCheck::Published(bool finished)
{
    // Snapshots a few times a second: a copy of many problems is not free.
    const auto now = std::chrono::steady_clock::now();
    if (!finished && now - lastSnapshot_ < SnapshotInterval)
        return;
    lastSnapshot_ = now;
    Snapshot snapshot;
    if (finished) {
        checker_.Finish();
        snapshot = { checker_.TakeOutline(), checker_.TakeProblems(), true };
    } else {
        snapshot = { checker_.Outline(), checker_.Problems(), false };
    }
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
