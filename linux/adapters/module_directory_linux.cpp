#include "adapters/module_directory_linux.h"

#include <cstdlib>
#include <system_error>

namespace pelux {

CLinuxModuleDirectory::CLinuxModuleDirectory(std::optional<std::filesystem::path> dictDirOption)
    : m_dictDirOption(std::move(dictDirOption)) {}

std::filesystem::path CLinuxModuleDirectory::directory() const {
    if (m_dictDirOption && !m_dictDirOption->empty()) return *m_dictDirOption;
    const char* fromEnvironment = std::getenv(kDictDirEnvironment);
    if (fromEnvironment && *fromEnvironment) return fromEnvironment;
    return executableDirectory();
}

std::filesystem::path executableDirectory() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable.parent_path();
}

}  // namespace pelux
