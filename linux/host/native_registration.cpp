#include "host/native_registration.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

namespace pelux {

namespace {

std::filesystem::path homeDirectory() {
    const char* home = std::getenv("HOME");
    return home != nullptr && home[0] != '\0' ? home : "/";
}

std::filesystem::path configHome() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return config;
    return homeDirectory() / ".config";
}

}  // namespace

std::string hostManifestText(const std::filesystem::path& executable, HostBrowser browser) {
    nlohmann::json manifest = {
        {"name", kNativeHostName},
        {"description", "PeluxBar: Chinese and Japanese translation under the mouse pointer"},
        {"path", executable.string()},
        {"type", "stdio"}};
    if (browser == HostBrowser::Firefox) {
        manifest["allowed_extensions"] = {kFirefoxExtensionId};
    } else {
        manifest["allowed_origins"] = {std::string("chrome-extension://") + kExtensionId + "/"};
    }
    return manifest.dump(2) + "\n";
}

std::optional<HostBrowser> hostBrowserNamed(std::string_view name) {
    if (name == "chromium") return HostBrowser::Chromium;
    if (name == "firefox") return HostBrowser::Firefox;
    return std::nullopt;
}

std::vector<ManifestDirectory> userManifestDirectories() {
    const std::filesystem::path base = configHome();
    // Firefox reads the user's hosts from ~/.mozilla whatever XDG_CONFIG_HOME says.
    return {{base / "chromium" / "NativeMessagingHosts", HostBrowser::Chromium},
            {base / "google-chrome" / "NativeMessagingHosts", HostBrowser::Chromium},
            {homeDirectory() / ".mozilla" / "native-messaging-hosts", HostBrowser::Firefox}};
}

std::filesystem::path profileManifestDirectory(const std::filesystem::path& userDataDir) {
    return userDataDir / "NativeMessagingHosts";
}

std::filesystem::path manifestPathIn(const std::filesystem::path& directory) {
    return directory / (std::string(kNativeHostName) + ".json");
}

bool installHostManifest(const std::filesystem::path& directory, const std::filesystem::path& executable,
                         std::string& error, HostBrowser browser) {
    std::error_code code;
    std::filesystem::create_directories(directory, code);
    if (code) {
        error = "cannot create " + directory.string() + ": " + code.message();
        return false;
    }
    const std::filesystem::path path = manifestPathIn(directory);
    const std::filesystem::path temp = path.string() + ".new";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << hostManifestText(executable, browser);
        if (!out.flush()) {
            error = "cannot write " + temp.string();
            return false;
        }
    }
    std::filesystem::rename(temp, path, code);
    if (code) {
        error = "cannot write " + path.string() + ": " + code.message();
        std::filesystem::remove(temp, code);
        return false;
    }
    return true;
}

bool uninstallHostManifest(const std::filesystem::path& directory) {
    const std::filesystem::path path = manifestPathIn(directory);
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::stringstream text;
    text << in.rdbuf();
    const nlohmann::json manifest = nlohmann::json::parse(text.str(), nullptr, false);
    // Someone else's file of the same name is left alone.
    if (!manifest.is_object() || manifest.value("name", "") != kNativeHostName) return false;
    std::error_code code;
    return std::filesystem::remove(path, code);
}

std::filesystem::path currentExecutable() {
    std::error_code code;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", code);
    return code ? std::filesystem::path() : self;
}

}  // namespace pelux
