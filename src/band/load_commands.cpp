#include "band/load_commands.h"

#include "band/band_menu.h"
#include "dictionary/load_guard.h"

namespace pelux {

LoadCommandOutcome runLoadCommand(uint32_t command, const DictionaryLoaders& loaders, CLoadState& loads) {
    const std::function<void()>* loader = nullptr;
    if (command == kCommandLoadChinese) loader = &loaders.loadChinese;
    if (command == kCommandLoadJapanese) loader = &loaders.loadJapanese;
    if (loader == nullptr) return LoadCommandOutcome::NotALoadCommand;
    const CLoadGuard guard(loads, CLoadGuard::Entry::Command);
    if (!guard.entered()) return LoadCommandOutcome::IgnoredDuringLoad;
    if (*loader) (*loader)();
    return LoadCommandOutcome::Loaded;
}

}  // namespace pelux
