// `peluxbar install` / `uninstall`: registration of the native messaging host.
#include <cstdio>

#include "cli/commands.h"
#include "host/native_registration.h"

namespace pelux {

namespace {

// The manifest directories named by the arguments: one profile's, or the user's browsers'.
bool manifestDirectories(const Arguments& args, std::vector<std::filesystem::path>& directories,
                         const char* command) {
    if (args.empty()) {
        directories = userManifestDirectories();
        return true;
    }
    if (args.size() == 2 && args[0] == "--user-data-dir" && !args[1].empty()) {
        directories = {profileManifestDirectory(std::filesystem::absolute(args[1]))};
        return true;
    }
    std::fprintf(stderr, "usage: peluxbar %s [--user-data-dir DIR]\n", command);
    return false;
}

}  // namespace

int runInstallCommand(const Arguments& args) {
    std::vector<std::filesystem::path> directories;
    if (!manifestDirectories(args, directories, "install")) return 2;
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
    if (!manifestDirectories(args, directories, "uninstall")) return 2;
    for (const std::filesystem::path& directory : directories) {
        if (uninstallHostManifest(directory)) std::printf("removed %s\n", manifestPathIn(directory).c_str());
    }
    return 0;
}

}  // namespace pelux
