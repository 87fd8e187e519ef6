#include "band/load_commands.h"

#include <atomic>

#include "band/band_menu.h"

namespace pelux {

namespace {

std::atomic<bool>& loadRunning() {
    static std::atomic<bool> running{false};
    return running;
}

class LoadRunningMark {
public:
    LoadRunningMark() = default;
    LoadRunningMark(const LoadRunningMark&) = delete;
    LoadRunningMark& operator=(const LoadRunningMark&) = delete;
    ~LoadRunningMark() { loadRunning() = false; }
};

}  // namespace

LoadCommandOutcome runLoadCommand(uint32_t command, const DictionaryLoaders& loaders) {
    const std::function<void()>* loader = nullptr;
    if (command == kCommandLoadChinese) loader = &loaders.loadChinese;
    if (command == kCommandLoadJapanese) loader = &loaders.loadJapanese;
    if (loader == nullptr) return LoadCommandOutcome::NotALoadCommand;
    if (loadRunning().exchange(true)) return LoadCommandOutcome::IgnoredDuringLoad;
    LoadRunningMark mark;
    if (*loader) (*loader)();
    return LoadCommandOutcome::Loaded;
}

bool isDictionaryLoadRunning() { return loadRunning(); }

}  // namespace pelux
