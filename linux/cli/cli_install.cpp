// `peluxbar install` / `uninstall`: registration of the native messaging host.
#include <cstdio>
#include <optional>

#include "cli/commands.h"
#include "cli/command_line.h"
#include "host/native_registration.h"

namespace pelux {

namespace {

CCommandLine installCommandLine(std::optional<std::string>& profile) {
    CCommandLine line("install", "",
                      "Registers peluxbar as the native messaging host of the PeluxBar extension, for the user's\n"
                      "Chromium and Chrome, or for one browser profile.");
    line.addOption("--user-data-dir", profile, "DIR", "register in this browser profile only");
    return line;
}

CCommandLine uninstallCommandLine(std::optional<std::string>& profile) {
    CCommandLine line("uninstall", "", "Removes the registration that install wrote.");
    line.addOption("--user-data-dir", profile, "DIR", "remove it from this browser profile only");
    return line;
}

std::string installUsage() {
    std::optional<std::string> unused;
    return installCommandLine(unused).usageText();
}

std::string uninstallUsage() {
    std::optional<std::string> unused;
    return uninstallCommandLine(unused).usageText();
}

// The manifest directories named by the arguments: one profile's, or the user's browsers'. An
// exit code when the command stops here.
std::optional<int> manifestDirectories(CCommandLine (*commandLine)(std::optional<std::string>&), const Arguments& args,
                                       std::vector<std::filesystem::path>& directories) {
    std::optional<std::string> profile;
    CCommandLine line = commandLine(profile);
    if (const std::optional<int> exitCode = line.parse(args)) return exitCode;
    if (!line.operands().empty()) return line.usageError("unknown argument '" + line.operands().front() + "'");
    if (!profile) {
        directories = userManifestDirectories();
    } else if (profile->empty()) {
        return line.usageError("--user-data-dir needs a folder");
    } else {
        directories = {profileManifestDirectory(std::filesystem::absolute(*profile))};
    }
    return std::nullopt;
}

int runInstallCommand(const Arguments& args) {
    std::vector<std::filesystem::path> directories;
    if (const std::optional<int> exitCode = manifestDirectories(installCommandLine, args, directories))
        return *exitCode;
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
    if (const std::optional<int> exitCode = manifestDirectories(uninstallCommandLine, args, directories))
        return *exitCode;
    for (const std::filesystem::path& directory : directories) {
        if (uninstallHostManifest(directory)) std::printf("removed %s\n", manifestPathIn(directory).c_str());
    }
    return 0;
}

}  // namespace

const Command kInstallCommand = {"install", runInstallCommand, installUsage};
const Command kUninstallCommand = {"uninstall", runUninstallCommand, uninstallUsage};

}  // namespace pelux
