// The two load commands of the menu, with the rule that a load never starts inside another.
#pragma once

#include <cstdint>
#include <functional>

#include "dictionary/load_guard.h"

namespace pelux {

struct DictionaryLoaders {
    std::function<void()> loadChinese;
    std::function<void()> loadJapanese;
};

enum class LoadCommandOutcome {
    NotALoadCommand,
    Loaded,                 // the loader ran and returned (completed or cancelled)
    IgnoredDuringLoad,      // a load of the same store was already running
};

// Dispatches on the whole command value, so a value with a notification code in its upper half
// is not a load command. While a load pumps messages, a second load command reaches this
// function again; it is ignored, because a load nested inside another would empty the store
// under the running one.
// `loads` is the load state of the store the loaders fill.
LoadCommandOutcome runLoadCommand(uint32_t command, const DictionaryLoaders& loaders, CLoadState& loads);

}  // namespace pelux
