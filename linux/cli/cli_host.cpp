// `peluxbar host`: the native messaging host that Chromium starts for the extension.
#include <csignal>
#include <cstdio>
#include <optional>

#include "band/engine.h"
#include "cli/commands.h"
#include "cli/option_parser.h"
#include "host/native_host.h"
#include "host/native_registration.h"
#include "adapters/module_directory_linux.h"
#include "adapters/platform_linux.h"
#include "adapters/settings_file.h"

namespace pelux {

const CommandInfo kHostInfo = {
    "host",
    "",
    "The native messaging host of the PeluxBar extension: the browser starts it and talks to it on\n"
    "standard input and output. Its settings are the per-user settings file.",
    {},
    true,
};

int runHostCommand(const Arguments& args) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseCommandLine(kHostInfo, args, parsed)) return *exitCode;
    // Only what a browser passes when it starts the host.
    if (!parsed.operands().empty() && !isBrowserHostLaunch(parsed.operands())) {
        return usageError(kHostInfo, "unexpected argument '" + parsed.operands().front() + "'");
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
