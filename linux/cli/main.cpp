// peluxbar: the PeluxBar command-line tool and (later) native messaging host.
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(const pelux::Arguments&);
    const char* usage;
};

const Subcommand kSubcommands[] = {
    {"lookup", pelux::runLookupCommand,
     "lookup --dict-dir DIR --lang zh|ja [--subwords] [--json] (TEXT | --stdin)"},
    {"pattern", pelux::runPatternCommand, "pattern [--json] [--dump] PATTERN TEXT"},
    {"dict", pelux::runDictCommand, "dict build [--out DIR]"},
    {"translate", pelux::runTranslateCommand, "translate [--base URL] [--timeout SECONDS] TEXT"},
    {"host", pelux::runHostCommand, "host   (the native messaging host; Chromium starts it)"},
    {"install", pelux::runInstallCommand, "install [--user-data-dir DIR]"},
    {"uninstall", pelux::runUninstallCommand, "uninstall [--user-data-dir DIR]"},
    {"browse", pelux::runBrowseCommand, "browse [--profile DIR] [URL]"},
};

void printUsage(FILE* out) {
    std::fputs("usage: peluxbar COMMAND [ARGS]\n\ncommands:\n", out);
    for (const Subcommand& command : kSubcommands) std::fprintf(out, "  peluxbar %s\n", command.usage);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    const std::string name = argv[1];
    // Chromium starts a native messaging host with the caller's origin as its first argument.
    if (name.rfind("chrome-extension://", 0) == 0) {
        return pelux::runHostCommand(pelux::Arguments(argv + 1, argv + argc));
    }
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(stdout);
        return 0;
    }
    for (const Subcommand& command : kSubcommands) {
        if (name == command.name) return command.run(pelux::Arguments(argv + 2, argv + argc));
    }
    std::fprintf(stderr, "peluxbar: unknown command '%s'\n", name.c_str());
    printUsage(stderr);
    return 2;
}
