// The one record of "a dictionary load is running" in the process. A load pumps messages, so a
// second load can be asked for in the middle of one; this guard is where both the menu's load
// command and the loaders themselves find out.
#pragma once

namespace pelux {

class CLoadGuard {
public:
    enum class Entry {
        // A load command: refused while any load runs anywhere in the process.
        Command,
        // A loader, entered with the store's lock held: refused only inside a running loader on
        // this thread (a loader on another thread holds the lock, so it has ended by now). A
        // loader run by a command enters freely.
        Loader,
    };
    explicit CLoadGuard(Entry entry);
    ~CLoadGuard();
    CLoadGuard(const CLoadGuard&) = delete;
    CLoadGuard& operator=(const CLoadGuard&) = delete;

    bool entered() const { return m_held != 0; }

private:
    unsigned m_held = 0;
};

// True while a load command or a loader runs on some thread.
bool isLoadRunning();

}  // namespace pelux
