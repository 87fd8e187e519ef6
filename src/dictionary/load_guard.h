// The record of "a load of this store is running" and of how the last one ended. A load pumps
// messages, so a second load can be asked for in the middle of one; the guard is where both the
// menu's load command and the loaders themselves find out.
#pragma once

#include <atomic>

namespace pelux {

// Each store holds one. Atomic, so that it may be asked from any thread without the store's lock.
class CLoadState {
public:
    // True while a load command or a loader of the store runs on some thread.
    bool isRunning() const { return m_running.load() != 0; }
    // Whether the store's most recent load stopped at Escape; cleared when a load starts.
    bool lastCancelled() const { return m_lastCancelled.load(); }
    void setLastCancelled(bool cancelled) { m_lastCancelled.store(cancelled); }

private:
    friend class CLoadGuard;
    std::atomic<unsigned> m_running{0};
    std::atomic<bool> m_lastCancelled{false};
};

class CLoadGuard {
public:
    enum class Entry {
        // A load command: refused while any load of the store runs.
        Command,
        // A loader, entered with the store's lock held: refused only inside a running loader on
        // this thread (a loader on another thread holds the lock, so it has ended by now). A
        // loader run by a command enters freely.
        Loader,
    };
    CLoadGuard(CLoadState& state, Entry entry);
    ~CLoadGuard();
    CLoadGuard(const CLoadGuard&) = delete;
    CLoadGuard& operator=(const CLoadGuard&) = delete;

    bool entered() const { return m_held != 0; }

private:
    CLoadState& m_state;
    unsigned m_held = 0;
};

}  // namespace pelux
