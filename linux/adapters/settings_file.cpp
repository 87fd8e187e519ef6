#include "adapters/settings_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "adapters/file_mapper_linux.h"
#include "adapters/utf8.h"

namespace pelux {

namespace {

constexpr std::size_t kMaxSettingsFileBytes = 64 * 1024;

bool isValueNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

std::optional<std::string> unescapeValue(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
            case '\\': out += '\\'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case '0': out += '\0'; break;
            default: return std::nullopt;
        }
    }
    if (!utf8ToUtf16(out)) return std::nullopt;
    return out;
}

std::string escapeValue(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\0': out += "\\0"; break;
            default: out += c;
        }
    }
    return out;
}

// The file's values; nullopt when it is missing, unreadable, too long or does not parse, with
// `refused` set when something other than a regular file is there. That is never read, and the
// look at the opened file keeps a FIFO swapped in after the first look from blocking the read.
std::optional<SettingsValues> readSettingsFile(const std::filesystem::path& path, bool& refused) {
    const int fd = openRegularForReading(path, refused);
    if (refused)
        std::fprintf(stderr, "peluxbar: the settings path %s is not a regular file; it is not used\n", path.c_str());
    if (fd < 0) return std::nullopt;
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0 || text.size() + std::size_t(got) > kMaxSettingsFileBytes) {
            ::close(fd);
            return got == 0 ? parseSettingsText(text) : std::nullopt;
        }
        text.append(buffer, std::size_t(got));
    }
}

}  // namespace

std::filesystem::path defaultSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config != nullptr && config[0] == '/') {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr && home[0] != '\0' ? home : "/") / ".config";
    }
    return base / "peluxbar" / "settings";
}

std::optional<SettingsValues> parseSettingsText(std::string_view text) {
    SettingsValues values;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const std::size_t equals = line.find('=');
        if (equals == 0 || equals == std::string::npos) return std::nullopt;
        const std::string name = line.substr(0, equals);
        for (char c : name) {
            if (!isValueNameChar(c)) return std::nullopt;
        }
        std::optional<std::string> value = unescapeValue(std::string_view(line).substr(equals + 1));
        if (!value || !values.emplace(name, std::move(*value)).second) return std::nullopt;
    }
    return values;
}

std::string formatSettingsText(const SettingsValues& values) {
    std::string text = "# PeluxBar settings: the values of Software\\Tandrel\\PeluxBar\n";
    for (const auto& [name, value] : values) text += name + "=" + escapeValue(value) + "\n";
    return text;
}

std::optional<std::u16string> CSettingsFile::readValue(std::u16string_view name) {
    bool refused = false;
    const std::optional<SettingsValues> values = readSettingsFile(m_path, refused);
    if (!values) return std::nullopt;
    const auto found = values->find(utf16ToUtf8(name));
    if (found == values->end()) return std::nullopt;
    return utf8ToUtf16(found->second);
}

bool CSettingsFile::writeValue(std::u16string_view name, std::u16string_view text) {
    const std::string key = utf16ToUtf8(name);
    if (key.empty()) return false;
    for (char c : key) {
        if (!isValueNameChar(c)) return false;
    }
    // A file that cannot be read or parsed is replaced; its values were absent anyway. Something
    // that is not a file is left where it is.
    bool refused = false;
    SettingsValues values = readSettingsFile(m_path, refused).value_or(SettingsValues{});
    if (refused) return false;
    values[key] = utf16ToUtf8(text);
    std::error_code error;
    std::filesystem::create_directories(m_path.parent_path(), error);
    const std::string settingsText = formatSettingsText(values);
    const std::string_view pieces[] = {settingsText};
    // Readable by the user alone, and on disk before it replaces the old file: the settings are
    // written seldom and a lost file loses all of them.
    return replaceFileAtomically(m_path, pieces, 0600, true);
}

}  // namespace pelux
