// The settings key kept as a per-user text file:
// $XDG_CONFIG_HOME/peluxbar/settings (or ~/.config/peluxbar/settings).
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/settings_key.h"

namespace pelux {

// The file's path for this user, from the environment.
std::filesystem::path defaultSettingsPath();

// Like the registry key, every read and every write opens the file anew. A file that cannot be
// read or does not parse holds no values at all. Writes replace the file atomically.
class CSettingsFile : public ISettingsKey {
public:
    explicit CSettingsFile(std::filesystem::path path) : m_path(std::move(path)) {}

    std::optional<std::u16string> readValue(std::u16string_view name) override;
    bool writeValue(std::u16string_view name, std::u16string_view text) override;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

using SettingsValues = std::map<std::string, std::string>;

// The file's text form: a comment line naming the key, then one "Name=Value" line per value,
// with backslash, carriage return, line feed and NUL written as \\, \r, \n and \0.
std::optional<SettingsValues> parseSettingsText(std::string_view text);
std::string formatSettingsText(const SettingsValues& values);

}  // namespace pelux
