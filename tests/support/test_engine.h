// Test helper: the engine the tests of one executable share, as a shell holds its own. What one
// test loads into its store, the next finds there.
#pragma once

#include "band/engine.h"

namespace pelux::testing {

inline CEngine& testEngine() {
    static CEngine engine;
    return engine;
}

}  // namespace pelux::testing
