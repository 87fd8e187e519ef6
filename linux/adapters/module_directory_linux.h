// Where the dictionary files are looked for on Linux: the directory that holds the running
// peluxbar executable, unless --dict-dir or PELUXBAR_DICT_DIR names another.
#pragma once

#include <filesystem>
#include <optional>

#include "platform/module_directory.h"

namespace pelux {

inline constexpr const char* kDictDirEnvironment = "PELUXBAR_DICT_DIR";

class CLinuxModuleDirectory final : public IModuleDirectory {
public:
    // `dictDirOption`: the value of --dict-dir when given; it wins over the environment.
    explicit CLinuxModuleDirectory(std::optional<std::filesystem::path> dictDirOption = std::nullopt);
    std::filesystem::path directory() const override;

private:
    std::optional<std::filesystem::path> m_dictDirOption;
};

// The directory of the running executable (from /proc/self/exe); empty when it cannot be read.
std::filesystem::path executableDirectory();

}  // namespace pelux
