// `peluxbar install` / `uninstall`: registration of the native messaging host.
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/option_parser.h"
#include "host/native_registration.h"

namespace pelux {

const CommandInfo kInstallInfo = {
    "install",
    "",
    "Registers peluxbar as the native messaging host of the PeluxBar extension, for the user's\n"
    "Chromium, Chrome and Firefox, or for one Chromium profile. With --print-manifest it writes\n"
    "nothing and prints the manifest for the browser family instead (for a system-wide install).",
    {{"--user-data-dir", "DIR", "register in this Chromium profile only"},
     {"--print-manifest", "BROWSER", "print the manifest for 'chromium' or 'firefox'"},
     {"--host-path", "PATH", "the executable the printed manifest names (default: this one)"}},
};

const CommandInfo kUninstallInfo = {
    "uninstall",
    "",
    "Removes the registration that install wrote.",
    {{"--user-data-dir", "DIR", "remove it from this Chromium profile only"}},
};

namespace {

// The manifest directories named by the arguments: one profile's, or the user's browsers'. An
// exit code when the command stops here.
std::optional<int> manifestDirectories(const CommandInfo& info, const CParsedOptions& parsed,
                                       std::vector<ManifestDirectory>& directories) {
    if (!parsed.operands().empty()) return usageError(info, "unknown argument '" + parsed.operands().front() + "'");
    const std::optional<std::string> profile = parsed.value("--user-data-dir");
    if (!profile) {
        directories = userManifestDirectories();
    } else if (profile->empty()) {
        return usageError(info, "--user-data-dir needs a folder");
    } else {
        directories = {{profileManifestDirectory(std::filesystem::absolute(*profile)), HostBrowser::Chromium}};
    }
    return std::nullopt;
}

int printManifest(const CParsedOptions& parsed, const std::string& browserName) {
    const std::optional<HostBrowser> browser = hostBrowserNamed(browserName);
    if (!browser) return usageError(kInstallInfo, "--print-manifest takes 'chromium' or 'firefox', not '" + browserName + "'");
    if (parsed.has("--user-data-dir")) return usageError(kInstallInfo, "--print-manifest writes no profile");
    if (!parsed.operands().empty()) return usageError(kInstallInfo, "unknown argument '" + parsed.operands().front() + "'");
    const std::optional<std::string> hostPath = parsed.value("--host-path");
    // Browsers start the host by this path as it stands, so it has to be absolute.
    if (hostPath && (hostPath->empty() || hostPath->front() != '/')) {
        return usageError(kInstallInfo, "--host-path needs an absolute path");
    }
    const std::filesystem::path executable = hostPath ? std::filesystem::path(*hostPath) : currentExecutable();
    std::fputs(hostManifestText(executable, *browser).c_str(), stdout);
    return 0;
}

}  // namespace

int runInstallCommand(const Arguments& args) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseCommandLine(kInstallInfo, args, parsed)) return *exitCode;
    if (const std::optional<std::string> browser = parsed.value("--print-manifest")) return printManifest(parsed, *browser);
    if (parsed.has("--host-path")) return usageError(kInstallInfo, "--host-path goes with --print-manifest");
    std::vector<ManifestDirectory> directories;
    if (const std::optional<int> exitCode = manifestDirectories(kInstallInfo, parsed, directories)) return *exitCode;
    const std::filesystem::path executable = currentExecutable();
    if (executable.empty()) {
        std::fputs("peluxbar: cannot find the path of this executable\n", stderr);
        return 1;
    }
    for (const auto& [directory, browser] : directories) {
        std::string error;
        if (!installHostManifest(directory, executable, error, browser)) {
            std::fprintf(stderr, "peluxbar: %s\n", error.c_str());
            return 1;
        }
        std::printf("installed %s\n", manifestPathIn(directory).c_str());
    }
    return 0;
}

int runUninstallCommand(const Arguments& args) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseCommandLine(kUninstallInfo, args, parsed)) return *exitCode;
    std::vector<ManifestDirectory> directories;
    if (const std::optional<int> exitCode = manifestDirectories(kUninstallInfo, parsed, directories)) return *exitCode;
    for (const ManifestDirectory& entry : directories) {
        const std::filesystem::path& directory = entry.directory;
        if (uninstallHostManifest(directory)) std::printf("removed %s\n", manifestPathIn(directory).c_str());
    }
    return 0;
}

}  // namespace pelux
