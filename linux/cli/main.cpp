// peluxbar: the PeluxBar command-line tool and native messaging host.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "cli/option_parser.h"
#include "host/native_registration.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(const pelux::Arguments&);
    const pelux::CommandInfo* info;
};

const Subcommand kSubcommands[] = {
    {"lookup", pelux::runLookupCommand, &pelux::kLookupInfo},
    {"pattern", pelux::runPatternCommand, &pelux::kPatternInfo},
    {"dict", pelux::runDictCommand, &pelux::kDictBuildInfo},
    {nullptr, nullptr, &pelux::kDictMakeDataInfo},
    {"translate", pelux::runTranslateCommand, &pelux::kTranslateInfo},
    {"host", pelux::runHostCommand, &pelux::kHostInfo},
    {"install", pelux::runInstallCommand, &pelux::kInstallInfo},
    {"uninstall", pelux::runUninstallCommand, &pelux::kUninstallInfo},
    {"browse", pelux::runBrowseCommand, &pelux::kBrowseInfo},
};

void printUsage(FILE* out) {
    std::fputs("usage: peluxbar COMMAND [ARGS]\n\ncommands:\n", out);
    for (const Subcommand& command : kSubcommands) {
        const std::string usage = pelux::usageText(*command.info);
        std::fprintf(out, "  %s", usage.c_str() + std::strlen("usage: "));
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
        return pelux::runHostCommand(pelux::Arguments(argv + 1, argv + argc));
    }
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return 0;
    }
    for (const Subcommand& command : kSubcommands) {
        if (command.name != nullptr && name == command.name) return command.run(pelux::Arguments(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "peluxbar: unknown command '%s'\n", name.c_str());
    printUsage(stderr);
    return 2;
}
