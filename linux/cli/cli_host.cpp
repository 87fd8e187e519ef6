// `peluxbar host`: the native messaging host that Chromium starts for the extension.
#include <csignal>
#include <cstdio>

#include "band/band_settings.h"
#include "cli/commands.h"
#include "host/host.h"
#include "adapters/module_directory_linux.h"
#include "adapters/platform_linux.h"
#include "adapters/settings_file.h"

namespace pelux {

int runHostCommand(const Arguments& args) {
    // Chromium passes the caller's origin (and on some systems a window id); nothing else.
    for (const std::string& arg : args) {
        if (arg.rfind("chrome-extension://", 0) != 0 && arg.rfind("--parent-window=", 0) != 0) {
            std::fprintf(stderr, "usage: peluxbar host\n");
            return 2;
        }
    }
    // A browser that closes the port while a reply is written must not kill the host mid-load.
    std::signal(SIGPIPE, SIG_IGN);
    registerLinuxPlatform();
    CSettingsFile settings(defaultSettingsPath());
    initEngine(settings);
    CNativeChannel channel(0, 1);
    CNativeHost host(channel, settings, CLinuxModuleDirectory().directory());
    return host.run();
}

}  // namespace pelux
