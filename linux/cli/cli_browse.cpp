// `peluxbar browse [URL]`: Chromium with the extension, on a profile of its own where the
// native messaging host is registered; the sample page when no address is given.
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "cli/commands.h"
#include "cli/demo_page_server.h"
#include "cli/command_line.h"
#include "host/native_registration.h"
#include "adapters/settings_file.h"

namespace pelux {

namespace {

namespace fs = std::filesystem;

fs::path findExtensionDirectory() {
    if (const char* dir = std::getenv("PELUXBAR_EXTENSION_DIR"); dir != nullptr && dir[0] != '\0') {
        return fs::absolute(dir);
    }
    const fs::path exeDir = currentExecutable().parent_path();
    for (const fs::path& candidate : {exeDir / "extension", exeDir.parent_path() / "extension",
                                      fs::path(PELUX_SOURCE_DIR) / "extension"}) {
        if (fs::exists(candidate / "manifest.json")) return candidate;
    }
    return {};
}

fs::path findChromium() {
    if (const char* path = std::getenv("PELUXBAR_CHROMIUM"); path != nullptr && path[0] != '\0') return path;
    for (const char* candidate : {"/usr/bin/chromium", "/usr/bin/chromium-browser", "/usr/bin/google-chrome"}) {
        if (::access(candidate, X_OK) == 0) return candidate;
    }
    return {};
}

bool hasDisplay() {
    const char* x = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x != nullptr && x[0] != '\0') || (wayland != nullptr && wayland[0] != '\0');
}

int runChromium(const fs::path& chromium, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(chromium.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const pid_t child = ::fork();
    if (child < 0) return 1;
    if (child == 0) {
        ::execv(argv[0], argv.data());
        std::perror("peluxbar: cannot start Chromium");
        ::_exit(127);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

CCommandLine browseCommandLine(std::optional<std::string>& profile) {
    CCommandLine line("browse", "[URL]",
                      "Opens Chromium with the PeluxBar extension on URL, or on a sample page served from this\n"
                      "machine, with the native messaging host registered in the browser profile. Needs a display.");
    line.addOption("--profile", profile, "DIR",
                   "the browser profile to use (default: chromium-profile beside the settings file)");
    return line;
}

std::string browseUsage() {
    std::optional<std::string> unused;
    return browseCommandLine(unused).usageText();
}

int runBrowseCommand(const Arguments& args) {
    std::optional<std::string> givenProfile;
    CCommandLine line = browseCommandLine(givenProfile);
    if (const std::optional<int> exitCode = line.parse(args)) return *exitCode;
    if (line.operands().size() > 1) return line.usageError("more than one URL given");
    // An empty path has no absolute form: the filesystem library throws for it.
    if (givenProfile && givenProfile->empty()) return line.usageError("--profile needs a folder");
    const fs::path profile =
        givenProfile ? fs::absolute(*givenProfile) : defaultSettingsPath().parent_path() / "chromium-profile";
    std::string url = line.operands().empty() ? std::string() : line.operands().front();
    if (!hasDisplay()) {
        std::fputs("peluxbar browse needs a display (DISPLAY or WAYLAND_DISPLAY is not set).\n"
                   "Without one, look words up on the command line, for example:\n"
                   "  peluxbar lookup --dict-dir data --lang zh 中国人很多\n"
                   "or run the browser under a virtual display: xvfb-run peluxbar browse\n",
                   stderr);
        return 1;
    }
    const fs::path extension = findExtensionDirectory();
    const fs::path chromium = findChromium();
    if (extension.empty() || chromium.empty()) {
        std::fprintf(stderr, "peluxbar: cannot find %s\n",
                     extension.empty() ? "the extension folder (set PELUXBAR_EXTENSION_DIR)"
                                       : "Chromium (install the chromium package)");
        return 1;
    }
    std::string error;
    if (!installHostManifest(profileManifestDirectory(profile), currentExecutable(), error)) {
        std::fprintf(stderr, "peluxbar: %s\n", error.c_str());
        return 1;
    }
    CDemoPageServer server;
    if (url.empty()) {
        if (!server.start(error)) {
            std::fprintf(stderr, "peluxbar: cannot serve the sample page: %s\n", error.c_str());
            return 1;
        }
        url = server.url();
    }
    std::printf("Opening %s in Chromium with the PeluxBar extension (profile %s)\n", url.c_str(),
                profile.c_str());
    std::fflush(stdout);
    std::vector<std::string> chromiumArgs = {"--user-data-dir=" + profile.string(), "--no-first-run",
                                             "--no-default-browser-check",
                                             "--disable-features=DisableLoadExtensionCommandLineSwitch",
                                             "--load-extension=" + extension.string()};
    // Chromium refuses to start as root with its sandbox on.
    if (::geteuid() == 0) chromiumArgs.push_back("--no-sandbox");
    chromiumArgs.push_back(url);
    return runChromium(chromium, chromiumArgs);
}

}  // namespace

const Command kBrowseCommand = {"browse", runBrowseCommand, browseUsage};

}  // namespace pelux
