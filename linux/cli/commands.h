// The subcommands of the `peluxbar` executable. Each takes the arguments after its own name
// and returns the process exit code (0 success, 1 failure of the work, 2 bad usage or input).
#pragma once

#include <string>
#include <vector>

namespace pelux {

using Arguments = std::vector<std::string>;

struct CommandSpec;

int runPatternCommand(const Arguments& args);
int runLookupCommand(const Arguments& args);
int runDictCommand(const Arguments& args);
int runTranslateCommand(const Arguments& args);
int runHostCommand(const Arguments& args);
int runInstallCommand(const Arguments& args);
int runUninstallCommand(const Arguments& args);
int runBrowseCommand(const Arguments& args);

// Each subcommand's options, for the overview that `peluxbar --help` prints.
extern const CommandSpec kLookupSpec;
extern const CommandSpec kPatternSpec;
extern const CommandSpec kDictBuildSpec;
extern const CommandSpec kDictMakeDataSpec;
extern const CommandSpec kTranslateSpec;
extern const CommandSpec kHostSpec;
extern const CommandSpec kInstallSpec;
extern const CommandSpec kUninstallSpec;
extern const CommandSpec kBrowseSpec;

}  // namespace pelux
