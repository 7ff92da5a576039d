#pragma once

#include "EnvelopeChecker.h"
#include "EnvelopeOutline.h"
#include "EnvelopeProblems.h"

#include <chrono>
#include <mutex>
#include <optional>

class TGFile;

// The envelope check of a file being indexed: it runs in the indexing thread, in the pass that
// indexes the file, and hands snapshots of its outline and problems to the window's thread.
class BackgroundCheck
{
public:
    struct Snapshot
    {
        EnvelopeOutline Outline;
        EnvelopeProblems Problems;
        bool Complete = false; // the whole file was checked
    };

    // In the indexing thread: before the scan (IndexingHooks::Prepare), and after each
    // publication of the lines (IndexingHooks::Published).
    void Prepare(TGFile &reader);
    void Published(bool finished);

    // In the window's thread: the newest snapshot, when there is one not taken yet.
    std::optional<Snapshot> Take();

private:
    static constexpr std::chrono::milliseconds SnapshotInterval { 200 };

    EnvelopeChecker checker_; // the indexing thread's
    std::chrono::steady_clock::time_point lastSnapshot_ {};
    std::mutex mutex_;
    std::optional<Snapshot> pending_;
};
