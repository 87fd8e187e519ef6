// `peluxbar host`: the native messaging host that Chromium starts for the extension.
#include <csignal>
#include <cstdio>
#include <optional>

#include "band/engine.h"
#include "cli/commands.h"
#include "cli/option_parser.h"
#include "host/native_host.h"
#include "adapters/module_directory_linux.h"
#include "adapters/platform_linux.h"
#include "adapters/settings_file.h"

namespace pelux {

const CommandInfo kHostInfo = {
    "host",
    "",
    "The native messaging host of the PeluxBar extension: Chromium starts it and talks to it on\n"
    "standard input and output. Its settings are the per-user settings file.",
    {},
    true,
};

int runHostCommand(const Arguments& args) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseCommandLine(kHostInfo, args, parsed)) return *exitCode;
    // Chromium passes the caller's origin (and on some systems a window id); nothing else.
    for (const std::string& arg : parsed.operands()) {
        if (arg.rfind("chrome-extension://", 0) != 0 && arg.rfind("--parent-window=", 0) != 0)
            return usageError(kHostInfo, "unexpected argument '" + arg + "'");
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

}  // namespace pelux
