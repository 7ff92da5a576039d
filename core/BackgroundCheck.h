#pragma once

#include "EnvelopeChecker.h"
#include "EnvelopeOutline.h"
#include "EnvelopeProblems.h"

#include <atomic>
#include <chrono>
#include <mutex>
#include <optional>
#include <thread>

class IndexedFile;

// The envelope check of a file being shown, in a thread of its own: it reads the file a second
// time, beside the indexing thread rather than in it, so that the index is not slowed by the
// check, and hands snapshots of its outline and problems to the window's thread. It never goes
// past the lines the file has published: a snapshot's outline covers only lines that can be
// shown. When the indexing stops or fails, the check stops too.
class BackgroundCheck
{
public:
    struct Snapshot
    {
        EnvelopeOutline Outline;
        EnvelopeProblems Problems;
        bool Complete = false; // the whole file was checked
    };

    // Checks the file lines shows; lines must outlive the check.
    explicit BackgroundCheck(const IndexedFile &lines);
    ~BackgroundCheck();

    BackgroundCheck(const BackgroundCheck &) = delete;
    BackgroundCheck &operator=(const BackgroundCheck &) = delete;

    // Starts the check's thread.
    void Start();
    // Stops the thread and waits for it; the last snapshot stays to be taken.
    void Stop();
    // Whether the thread has ended: the check is complete, stopped or failed.
    bool Ended() const { return ended_.load(std::memory_order_acquire); }

    // In the window's thread: the newest snapshot, when there is one not taken yet.
    std::optional<Snapshot> Take();

private:
    static constexpr std::chrono::milliseconds SnapshotInterval { 200 };

    void Run();
    // Returns once the lines published reach position in the file, or once they are complete
    // with position -1; raises StopChecking when the check is stopped or the lines end short.
    void WaitForLines(qint64 position);
    void Hand(Snapshot snapshot);
    void HandSoFar();

    const IndexedFile &lines_;
    EnvelopeChecker checker_; // the check thread's
    std::chrono::steady_clock::time_point lastSnapshot_ {};
    std::thread thread_;
    std::atomic<bool> stop_ { false };
    std::atomic<bool> ended_ { false };
    std::mutex mutex_;
    std::optional<Snapshot> pending_;
};
