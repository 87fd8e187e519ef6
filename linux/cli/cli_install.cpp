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
    "Chromium and Chrome, or for one browser profile.",
    {{"--user-data-dir", "DIR", "register in this browser profile only"}},
};

const CommandInfo kUninstallInfo = {
    "uninstall",
    "",
    "Removes the registration that install wrote.",
    {{"--user-data-dir", "DIR", "remove it from this browser profile only"}},
};

namespace {

// The manifest directories named by the arguments: one profile's, or the user's browsers'. An
// exit code when the command stops here.
std::optional<int> manifestDirectories(const CommandInfo& info, const Arguments& args,
                                       std::vector<std::filesystem::path>& directories) {
    CParsedOptions parsed;
    if (const std::optional<int> exitCode = parseCommandLine(info, args, parsed)) return exitCode;
    if (!parsed.operands().empty()) return usageError(info, "unknown argument '" + parsed.operands().front() + "'");
    const std::optional<std::string> profile = parsed.value("--user-data-dir");
    if (!profile) {
        directories = userManifestDirectories();
    } else if (profile->empty()) {
        return usageError(info, "--user-data-dir needs a folder");
    } else {
        directories = {profileManifestDirectory(std::filesystem::absolute(*profile))};
    }
    return std::nullopt;
}

}  // namespace

int runInstallCommand(const Arguments& args) {
    std::vector<std::filesystem::path> directories;
    if (const std::optional<int> exitCode = manifestDirectories(kInstallInfo, args, directories)) return *exitCode;
    const std::filesystem::path executable = currentExecutable();
    if (executable.empty()) {
        std::fputs("peluxbar: cannot find the path of this executable\n", stderr);
        return 1;
    }
    for (const std::filesystem::path& directory : directories) {
        std::string error;
        if (!installHostManifest(directory, executable, error)) {
            std::fprintf(stderr, "peluxbar: %s\n", error.c_str());
            return 1;
        }
        std::printf("installed %s\n", manifestPathIn(directory).c_str());
    }
    return 0;
}

int runUninstallCommand(const Arguments& args) {
    std::vector<std::filesystem::path> directories;
    if (const std::optional<int> exitCode = manifestDirectories(kUninstallInfo, args, directories)) return *exitCode;
    for (const std::filesystem::path& directory : directories) {
        if (uninstallHostManifest(directory)) std::printf("removed %s\n", manifestPathIn(directory).c_str());
    }
    return 0;
}

}  // namespace pelux
