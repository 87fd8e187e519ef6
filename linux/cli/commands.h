// The subcommands of the `peluxbar` executable. Each takes the arguments after its own name
// and returns the process exit code (0 success, 1 failure of the work, 2 bad usage or input).
#pragma once

#include <string>
#include <vector>

namespace pelux {

using Arguments = std::vector<std::string>;

struct CommandInfo;

int runPatternCommand(const Arguments& args);
int runLookupCommand(const Arguments& args);
int runDictCommand(const Arguments& args);
int runTranslateCommand(const Arguments& args);
int runHostCommand(const Arguments& args);
int runInstallCommand(const Arguments& args);
int runUninstallCommand(const Arguments& args);
int runBrowseCommand(const Arguments& args);
int runWordsCommand(const Arguments& args);

// Each subcommand's options, for the overview that `peluxbar --help` prints.
extern const CommandInfo kLookupInfo;
extern const CommandInfo kPatternInfo;
extern const CommandInfo kDictBuildInfo;
extern const CommandInfo kDictMakeDataInfo;
extern const CommandInfo kTranslateInfo;
extern const CommandInfo kHostInfo;
extern const CommandInfo kInstallInfo;
extern const CommandInfo kUninstallInfo;
extern const CommandInfo kBrowseInfo;
extern const CommandInfo kWordsListInfo;
extern const CommandInfo kWordsExportInfo;
extern const CommandInfo kWordsRemoveInfo;

}  // namespace pelux
