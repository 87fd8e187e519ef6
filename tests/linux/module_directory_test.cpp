#include "adapters/module_directory_linux.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "adapters/platform_linux.h"

namespace pelux {
namespace {

// Sets or clears PELUXBAR_DICT_DIR for one test and puts the old value back afterwards.
class CDictDirEnvironment {
public:
    explicit CDictDirEnvironment(const char* value) {
        if (const char* old = std::getenv(kDictDirEnvironment)) m_old = old;
        value ? setenv(kDictDirEnvironment, value, 1) : unsetenv(kDictDirEnvironment);
    }
    ~CDictDirEnvironment() { m_old ? setenv(kDictDirEnvironment, m_old->c_str(), 1) : unsetenv(kDictDirEnvironment); }

private:
    std::optional<std::string> m_old;
};

TEST(ModuleDirectory, ExecutableDirectoryByDefault) {
    CDictDirEnvironment environment(nullptr);
    const std::filesystem::path here = std::filesystem::canonical(PELUX_BINARY_DIR);
    EXPECT_EQ(std::filesystem::canonical(CLinuxModuleDirectory().directory()), here);
    EXPECT_EQ(std::filesystem::canonical(linuxDictionaryDirectory()), here);
}

TEST(ModuleDirectory, EnvironmentOverridesTheExecutableDirectory) {
    CDictDirEnvironment environment("/srv/dictionaries");
    EXPECT_EQ(CLinuxModuleDirectory().directory(), std::filesystem::path("/srv/dictionaries"));
    EXPECT_EQ(linuxDictionaryDirectory(), std::filesystem::path("/srv/dictionaries"));
}

TEST(ModuleDirectory, OptionOverridesTheEnvironment) {
    CDictDirEnvironment environment("/srv/dictionaries");
    EXPECT_EQ(CLinuxModuleDirectory(std::filesystem::path("/home/me/dict")).directory(), std::filesystem::path("/home/me/dict"));
}

}  // namespace
}  // namespace pelux
