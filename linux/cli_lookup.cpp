#include <cstdio>

#include "commands.h"

namespace pelux {

int runLookupCommand(const Arguments&) {
    std::fputs("peluxbar: not built yet\n", stderr);
    return 1;
}

}  // namespace pelux
