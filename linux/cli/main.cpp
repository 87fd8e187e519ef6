// peluxbar: the PeluxBar command-line tool and native messaging host.
//
// Adding a command: write linux/cli/cli_NAME.cpp, which describes its options to a CCommandLine
// (command_line.h) and defines `const Command kNameCommand = {"name", run, usage}` after the
// others' pattern; declare it in commands.h beside them and list it in kCommands below, in the
// place the overview is to show it. Its usage, --help and usage errors then follow its description.
#include <cstdio>
#include <sstream>
#include <string>

#include "cli/commands.h"
#include "host/native_registration.h"

namespace {

const pelux::Command* const kCommands[] = {
    &pelux::kLookupCommand, &pelux::kPatternCommand, &pelux::kDictCommand,      &pelux::kTranslateCommand,
    &pelux::kHostCommand,   &pelux::kInstallCommand, &pelux::kUninstallCommand, &pelux::kBrowseCommand,
    &pelux::kWordsCommand,
};

// Each command's usage lines, with "usage: peluxbar " turned into an indented "peluxbar ".
void printUsage(FILE* out) {
    std::fputs("usage: peluxbar COMMAND [ARGS]\n\ncommands:\n", out);
    const std::string prefix = "usage: ";
    for (const pelux::Command* command : kCommands) {
        std::istringstream usage(command->usage());
        for (std::string line; std::getline(usage, line);)
            std::fprintf(out, "  %s\n", line.substr(line.starts_with(prefix) ? prefix.size() : 0).c_str());
    }
    std::fputs("\npeluxbar COMMAND --help explains the options of each.\n", out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    // Browsers start the native messaging host with arguments of their own and no command name.
    if (pelux::isBrowserHostLaunch(pelux::Arguments(argv + 1, argv + argc))) {
        return pelux::kHostCommand.run(pelux::Arguments(argv + 1, argv + argc));
    }
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return 0;
    }
    for (const pelux::Command* command : kCommands) {
        if (name == command->name) return command->run(pelux::Arguments(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "peluxbar: unknown command '%s'\n", name.c_str());
    printUsage(stderr);
    return 2;
}
