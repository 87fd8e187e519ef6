// What the fuzz targets share: turning the fuzzer's bytes into the texts and files the code
// reads, settings held in memory, and a scratch directory of the process's own.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "adapters/utf8.h"
#include "platform/settings_key.h"

namespace pelux::fuzzing {

inline std::string_view bytesOf(const uint8_t* data, size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input as text the way the edges decode what comes from outside: UTF-8, each stray byte
// one U+FFFD, so that seeds stay readable files.
inline std::u16string textOf(std::string_view bytes) { return utf8ToUtf16Lenient(bytes); }

// Splits at the first occurrence of `separator`; without one, everything is the head.
inline std::pair<std::string_view, std::string_view> splitAt(std::string_view bytes, char separator) {
    const size_t at = bytes.find(separator);
    if (at == std::string_view::npos) return {bytes, {}};
    return {bytes.substr(0, at), bytes.substr(at + 1)};
}

// Aborts with a message: the fuzzer reports it as a crash with this input.
[[noreturn]] inline void violated(const char* what) {
    std::fprintf(stderr, "fuzz property violated: %s\n", what);
    std::abort();
}

class CMemorySettings : public ISettingsKey {
public:
    std::map<std::u16string, std::u16string, std::less<>> values;
    std::optional<std::u16string> readValue(std::u16string_view name) override {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }
    bool writeValue(std::u16string_view name, std::u16string_view text) override {
        values[std::u16string(name)] = std::u16string(text);
        return true;
    }
};

inline const std::string kScratchPrefix = "peluxbar-fuzz-";

// libFuzzer may end a run without running exit handlers: what such runs left behind goes once
// no process of that number is alive.
inline void removeDirectoriesOfEndedRuns(const std::filesystem::path& base) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(base, error)) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with(kScratchPrefix)) continue;
        const std::string pid = name.substr(kScratchPrefix.size());
        if (pid.empty() || pid.find_first_not_of("0123456789") != std::string::npos) continue;
        if (!std::filesystem::exists("/proc/" + pid, error)) std::filesystem::remove_all(entry.path(), error);
    }
}

// A directory only this process writes to, removed when the process ends normally. In memory
// where the machine has it: the settings file is written with fsync on every input.
inline const std::filesystem::path& scratchDirectory() {
    static const std::filesystem::path directory = [] {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        removeDirectoriesOfEndedRuns(base);
        std::filesystem::path path = base / (kScratchPrefix + std::to_string(::getpid()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        std::atexit([] { std::filesystem::remove_all(scratchDirectory()); });
        return path;
    }();
    return directory;
}

inline void writeFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) violated("the scratch file could not be written");
}

}  // namespace pelux::fuzzing
