// `peluxbar host`: the native messaging host that Chromium starts for the extension.
#include <csignal>
#include <cstdio>
#include <optional>

#include "band/engine.h"
#include "cli/commands.h"
#include "cli/command_line.h"
#include "host/native_host.h"
#include "host/native_registration.h"
#include "adapters/module_directory_linux.h"
#include "adapters/platform_linux.h"
#include "adapters/settings_file.h"

namespace pelux {

namespace {

CCommandLine hostCommandLine() {
    CCommandLine line("host", "",
                      "The native messaging host of the PeluxBar extension: the browser starts it and talks to it on\n"
                      "standard input and output. Its settings are the per-user settings file.");
    line.takeDashedOperands();
    return line;
}

std::string hostUsage() { return hostCommandLine().usageText(); }

int runHostCommand(const Arguments& args) {
    CCommandLine line = hostCommandLine();
    if (const std::optional<int> exitCode = line.parse(args)) return *exitCode;
    // Only what a browser passes when it starts the host.
    if (!line.operands().empty() && !isBrowserHostLaunch(line.operands())) {
        return line.usageError("unexpected argument '" + line.operands().front() + "'");
    }
    // A browser that closes the port while a reply is written must not kill the host mid-load.
    std::signal(SIGPIPE, SIG_IGN);
    registerLinuxPlatform();
    CSettingsFile settings(defaultSettingsPath());
    CEngine engine;
    initEngine(engine, settings);
    CNativeChannel channel(0, 1);
    CNativeHost host(engine, channel, settings, CLinuxModuleDirectory().directory());
    return host.run();
}

}  // namespace

const Command kHostCommand = {"host", runHostCommand, hostUsage};

}  // namespace pelux
