// Where the dictionary files are looked for on Linux: --dict-dir, else PELUXBAR_DICT_DIR, else the
// directory that holds the running peluxbar executable. The packaged executable, which lives in
// /usr/bin among other programs, reads the package's dictionaries instead; a build elsewhere never
// does, so it cannot pick them up without saying so.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/module_directory.h"

namespace pelux {

inline constexpr const char* kDictDirEnvironment = "PELUXBAR_DICT_DIR";
inline constexpr const char* kInstalledExecutable = "/usr/bin/peluxbar";
inline constexpr const char* kSystemDictionaryDirectory = "/usr/share/peluxbar/dict";

class CLinuxModuleDirectory final : public IModuleDirectory {
public:
    // `dictDirOption`: the value of --dict-dir when given; it wins over the environment.
    explicit CLinuxModuleDirectory(std::optional<std::filesystem::path> dictDirOption = std::nullopt);
    std::filesystem::path directory() const override;

private:
    std::optional<std::filesystem::path> m_dictDirOption;
};

// The resolution order itself, with the executable's path given rather than read from /proc:
// `environment` is the variable's value (null or empty when unset).
std::filesystem::path resolveDictionaryDirectory(const std::optional<std::filesystem::path>& dictDirOption,
                                                 const char* environment, const std::filesystem::path& executable);

// The absolute path of the running executable (from /proc/self/exe); empty when it cannot be read.
std::filesystem::path runningExecutable();
// The directory of the running executable; empty when it cannot be read.
std::filesystem::path executableDirectory();
// Whether `executable` is the packaged one, its symbolic links already resolved.
bool isInstalledExecutable(const std::filesystem::path& executable);

// The package manager's tree, /usr, which holds the package's dictionaries: read there, never
// written, so a load keeps no prepared image in it (one whose image is stale reads the text files).
inline constexpr const char* kSystemTree = "/usr";
bool isSystemDirectory(const std::filesystem::path& directory);

}  // namespace pelux
