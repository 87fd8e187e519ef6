#include "adapters/module_directory_linux.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace pelux {

CLinuxModuleDirectory::CLinuxModuleDirectory(std::optional<std::filesystem::path> dictDirOption)
    : m_dictDirOption(std::move(dictDirOption)) {}

std::filesystem::path CLinuxModuleDirectory::directory() const {
    return resolveDictionaryDirectory(m_dictDirOption, std::getenv(kDictDirEnvironment), runningExecutable());
}

std::filesystem::path resolveDictionaryDirectory(const std::optional<std::filesystem::path>& dictDirOption,
                                                 const char* environment, const std::filesystem::path& executable) {
    if (dictDirOption && !dictDirOption->empty()) return *dictDirOption;
    if (environment && *environment) return environment;
    if (isInstalledExecutable(executable)) return kSystemDictionaryDirectory;
    return executable.parent_path();
}

std::filesystem::path runningExecutable() {
    std::error_code error;
    const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : executable;
}

std::filesystem::path executableDirectory() { return runningExecutable().parent_path(); }

bool isInstalledExecutable(const std::filesystem::path& executable) {
    return executable == std::filesystem::path(kInstalledExecutable);
}

bool isSystemDirectory(const std::filesystem::path& directory) {
    if (directory.empty()) return false;
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(directory, error), error);
    if (error) resolved = directory.lexically_normal();
    const std::filesystem::path system(kSystemTree);
    const auto ends = std::mismatch(system.begin(), system.end(), resolved.begin(), resolved.end());
    return ends.first == system.end();
}

}  // namespace pelux
