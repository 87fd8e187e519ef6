// `peluxbar install` / `uninstall`: registration of the native messaging host.
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/command_line.h"
#include "host/native_registration.h"

namespace pelux {

namespace {

struct InstallArguments {
    std::optional<std::string> profile;
    std::optional<std::string> printManifest;
    std::optional<std::string> hostPath;
};

CCommandLine installCommandLine(InstallArguments& given) {
    CCommandLine line("install", "",
                      "Registers peluxbar as the native messaging host of the PeluxBar extension, for the user's\n"
                      "Chromium, Chrome and Firefox, or for one Chromium profile. With --print-manifest it writes\n"
                      "nothing and prints the manifest for the browser family instead (for a system-wide install).");
    line.addOption("--user-data-dir", given.profile, "DIR", "register in this Chromium profile only");
    line.addOption("--print-manifest", given.printManifest, "BROWSER", "print the manifest for 'chromium' or 'firefox'");
    line.addOption("--host-path", given.hostPath, "PATH", "the executable the printed manifest names (default: this one)");
    return line;
}

CCommandLine uninstallCommandLine(InstallArguments& given) {
    CCommandLine line("uninstall", "", "Removes the registration that install wrote.");
    line.addOption("--user-data-dir", given.profile, "DIR", "remove it from this Chromium profile only");
    return line;
}

std::string installUsage() {
    InstallArguments unused;
    return installCommandLine(unused).usageText();
}

std::string uninstallUsage() {
    InstallArguments unused;
    return uninstallCommandLine(unused).usageText();
}

// The manifest directories named by the arguments: one profile's, or the user's browsers'. An
// exit code when the command stops here.
std::optional<int> manifestDirectories(const CCommandLine& line, const InstallArguments& given,
                                       std::vector<ManifestDirectory>& directories) {
    if (!line.operands().empty()) return line.usageError("unknown argument '" + line.operands().front() + "'");
    if (!given.profile) {
        directories = userManifestDirectories();
    } else if (given.profile->empty()) {
        return line.usageError("--user-data-dir needs a folder");
    } else {
        directories = {{profileManifestDirectory(std::filesystem::absolute(*given.profile)), HostBrowser::Chromium}};
    }
    return std::nullopt;
}

int printManifest(const CCommandLine& line, const InstallArguments& given) {
    const std::optional<HostBrowser> browser = hostBrowserNamed(*given.printManifest);
    if (!browser) {
        return line.usageError("--print-manifest takes 'chromium' or 'firefox', not '" + *given.printManifest + "'");
    }
    if (given.profile) return line.usageError("--print-manifest writes no profile");
    if (!line.operands().empty()) return line.usageError("unknown argument '" + line.operands().front() + "'");
    // Browsers start the host by this path as it stands, so it has to be absolute.
    if (given.hostPath && (given.hostPath->empty() || given.hostPath->front() != '/')) {
        return line.usageError("--host-path needs an absolute path");
    }
    const std::filesystem::path executable = given.hostPath ? std::filesystem::path(*given.hostPath) : currentExecutable();
    std::fputs(hostManifestText(executable, *browser).c_str(), stdout);
    return 0;
}

int runInstallCommand(const Arguments& args) {
    InstallArguments given;
    CCommandLine line = installCommandLine(given);
    if (const std::optional<int> exitCode = line.parse(args)) return *exitCode;
    if (given.printManifest) return printManifest(line, given);
    if (given.hostPath) return line.usageError("--host-path goes with --print-manifest");
    std::vector<ManifestDirectory> directories;
    if (const std::optional<int> exitCode = manifestDirectories(line, given, directories)) return *exitCode;
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
    InstallArguments given;
    CCommandLine line = uninstallCommandLine(given);
    if (const std::optional<int> exitCode = line.parse(args)) return *exitCode;
    std::vector<ManifestDirectory> directories;
    if (const std::optional<int> exitCode = manifestDirectories(line, given, directories)) return *exitCode;
    for (const ManifestDirectory& entry : directories) {
        if (uninstallHostManifest(entry.directory)) std::printf("removed %s\n", manifestPathIn(entry.directory).c_str());
    }
    return 0;
}

}  // namespace

const Command kInstallCommand = {"install", runInstallCommand, installUsage};
const Command kUninstallCommand = {"uninstall", runUninstallCommand, uninstallUsage};

}  // namespace pelux
