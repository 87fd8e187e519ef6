// The subcommands of the `peluxbar` executable. Each takes the arguments after its own name
// and returns the process exit code (0 success, 1 failure of the work, 2 bad usage or input).
#pragma once

#include <string>
#include <vector>

namespace pelux {

using Arguments = std::vector<std::string>;

struct Command {
    const char* name;  // as typed after "peluxbar"
    int (*run)(const Arguments& args);
    std::string (*usage)();  // its usage lines, "usage: peluxbar NAME ...\n" each
};

// Each defined in its cli_NAME.cpp; main.cpp lists them.
extern const Command kLookupCommand;
extern const Command kPatternCommand;
extern const Command kDictCommand;
extern const Command kTranslateCommand;
extern const Command kHostCommand;
extern const Command kInstallCommand;
extern const Command kUninstallCommand;
extern const Command kBrowseCommand;
extern const Command kWordsCommand;

}  // namespace pelux
