// Registration with the browsers: the native messaging host manifest that lets the extension
// (and only it) start this executable.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace pelux {

inline constexpr const char* kNativeHostName = "com.tandrel.peluxbar";
// Pinned by the public key in extension/manifest.json.
inline constexpr const char* kExtensionId = "dnmjknmpjiimmmefmjaadnbbmaldmlcj";

std::string hostManifestText(const std::filesystem::path& executable);
// Where the manifest goes for the current user's Chromium and Chrome.
std::vector<std::filesystem::path> userManifestDirectories();
// DIR/NativeMessagingHosts, read by a browser started with --user-data-dir=DIR.
std::filesystem::path profileManifestDirectory(const std::filesystem::path& userDataDir);
std::filesystem::path manifestPathIn(const std::filesystem::path& directory);

// Writes the manifest into the directory (created when missing); false with `error` set.
bool installHostManifest(const std::filesystem::path& directory, const std::filesystem::path& executable,
                         std::string& error);
// Removes the manifest from the directory when it is ours; true when one was removed.
bool uninstallHostManifest(const std::filesystem::path& directory);

// The absolute path of the running executable.
std::filesystem::path currentExecutable();

}  // namespace pelux
