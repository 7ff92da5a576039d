#include "IndexFileCleanup.h"

#include <QFile>

#include <atomic>
#include <csignal>
#include <cstring>

#include <unistd.h>

namespace {

// Fixed slots, so that the signal handler touches no allocator and no lock. A slot is claimed,
// its path written whole, and only then marked in use; it is marked unused before it is given
// up for another path.
constexpr int SlotCount = 64;
constexpr size_t PathCapacity = 4096;

struct Slot
{
    std::atomic<bool> claimed { false };
    std::atomic<bool> used { false };
    char path[PathCapacity] {};
};

Slot listedFiles[SlotCount];

extern "C" void RemoveAndEnd(int signalNumber)
{
    for (Slot &slot : listedFiles) {
        if (slot.used.load(std::memory_order_acquire))
            unlink(slot.path);
    }
    // The handler was reset on entry: the signal, raised again, ends the process as it would
    // have without it once this handler returns.
    raise(signalNumber);
}

} // namespace

namespace IndexFileCleanup {

int Remember(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || size_t(name.size()) >= PathCapacity)
        return -1;
    for (int i = 0; i < SlotCount; ++i) {
        Slot &slot = listedFiles[i];
        bool expected = false;
        if (!slot.claimed.compare_exchange_strong(expected, true, std::memory_order_acquire))
            continue;
        std::memcpy(slot.path, name.constData(), size_t(name.size()) + 1);
        slot.used.store(true, std::memory_order_release);
        return i;
    }
    return -1;
}

void Forget(int slot)
{
    if (slot < 0 || slot >= SlotCount)
        return;
    listedFiles[slot].used.store(false, std::memory_order_release);
    listedFiles[slot].claimed.store(false, std::memory_order_release);
}

void RemoveOnSignals(std::initializer_list<int> signalNumbers)
{
    for (int signalNumber : signalNumbers) {
        struct sigaction old
        {
        };
        if (sigaction(signalNumber, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action
        {
        };
        action.sa_handler = RemoveAndEnd;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        sigaction(signalNumber, &action, nullptr);
    }
}

void RemoveOnTerminatingSignals()
{
    RemoveOnSignals({ SIGINT, SIGTERM, SIGHUP, SIGPIPE });
}

} // namespace IndexFileCleanup
