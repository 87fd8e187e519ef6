#include "band/load_commands.h"

#include "band/band_menu.h"
#include "dictionary/load_guard.h"

namespace pelux {

LoadCommandOutcome runLoadCommand(uint32_t command, const DictionaryLoaders& loaders) {
    const std::function<void()>* loader = nullptr;
    if (command == kCommandLoadChinese) loader = &loaders.loadChinese;
    if (command == kCommandLoadJapanese) loader = &loaders.loadJapanese;
    if (loader == nullptr) return LoadCommandOutcome::NotALoadCommand;
    const CLoadGuard guard(CLoadGuard::Entry::Command);
    if (!guard.entered()) return LoadCommandOutcome::IgnoredDuringLoad;
    if (*loader) (*loader)();
    return LoadCommandOutcome::Loaded;
}

bool isDictionaryLoadRunning() { return isLoadRunning(); }

}  // namespace pelux
