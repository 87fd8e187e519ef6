// Registration with the browsers: the native messaging host manifest that lets the extension
// (and only it) start this executable.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelux {

inline constexpr const char* kNativeHostName = "com.tandrel.peluxbar";
// Pinned by the public key in extension/manifest.json.
inline constexpr const char* kExtensionId = "dnmjknmpjiimmmefmjaadnbbmaldmlcj";
// The add-on ID Firefox knows the extension by (its gecko settings in extension/manifest.json).
inline constexpr const char* kFirefoxExtensionId = "peluxbar@tandrel.example";

// The two browser families read the same manifest but name the extension allowed to start the
// host differently: Chromium by its origin, Firefox by its add-on ID.
enum class HostBrowser { Chromium, Firefox };

// The manifest's text; the packaging build uses it for the system-wide files too
// (`peluxbar install --print-manifest`).
std::string hostManifestText(const std::filesystem::path& executable, HostBrowser browser = HostBrowser::Chromium);
// The browser family named `name` ("chromium" or "firefox"); nothing for another name.
std::optional<HostBrowser> hostBrowserNamed(std::string_view name);

struct ManifestDirectory {
    std::filesystem::path directory;
    HostBrowser browser = HostBrowser::Chromium;
};
// Where the manifest goes for the current user's Chromium, Chrome and Firefox.
std::vector<ManifestDirectory> userManifestDirectories();
// DIR/NativeMessagingHosts, read by a browser started with --user-data-dir=DIR.
std::filesystem::path profileManifestDirectory(const std::filesystem::path& userDataDir);
std::filesystem::path manifestPathIn(const std::filesystem::path& directory);

// Writes the manifest into the directory (created when missing); false with `error` set.
bool installHostManifest(const std::filesystem::path& directory, const std::filesystem::path& executable,
                         std::string& error, HostBrowser browser = HostBrowser::Chromium);
// Removes the manifest from the directory when it is ours; true when one was removed.
bool uninstallHostManifest(const std::filesystem::path& directory);

// The absolute path of the running executable.
std::filesystem::path currentExecutable();

}  // namespace pelux
