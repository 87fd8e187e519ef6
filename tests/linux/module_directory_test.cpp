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

TEST(ModuleDirectory, ResolutionOrder) {
    const std::filesystem::path installed(kInstalledExecutable);
    const std::filesystem::path built("/home/me/peluxbar/build/peluxbar");
    const struct {
        const char* what;
        std::optional<std::filesystem::path> option;
        const char* environment;
        std::filesystem::path executable;
        std::filesystem::path expected;
    } rows[] = {
        {"option first", std::filesystem::path("/opt/d"), "/srv/d", installed, "/opt/d"},
        {"then the environment", std::nullopt, "/srv/d", installed, "/srv/d"},
        {"an empty option is none", std::filesystem::path(), "/srv/d", built, "/srv/d"},
        {"a build: its own folder", std::nullopt, nullptr, built, "/home/me/peluxbar/build"},
        {"an empty variable is unset", std::nullopt, "", built, "/home/me/peluxbar/build"},
        {"the package: its dictionaries", std::nullopt, nullptr, installed, kSystemDictionaryDirectory},
        {"a copy of it elsewhere: its own folder", std::nullopt, nullptr, "/usr/local/bin/peluxbar", "/usr/local/bin"},
        {"another program in /usr/bin", std::nullopt, nullptr, "/usr/bin/peluxbar-old", "/usr/bin"},
        {"unreadable executable path", std::nullopt, nullptr, "", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(resolveDictionaryDirectory(row.option, row.environment, row.executable), row.expected);
    }
}

TEST(ModuleDirectory, OnlyTheSystemTreeIsASystemDirectory) {
    for (const char* directory : {"/usr/share/peluxbar/dict", "/usr/share/peluxbar/dict/", "/usr", "/tmp/../usr/share"})
        EXPECT_TRUE(isSystemDirectory(directory)) << directory;
    for (const char* directory : {"", "/usrlocal", "/home/me/usr", "/opt/peluxbar/dict", "/tmp"})
        EXPECT_FALSE(isSystemDirectory(directory)) << directory;
}

}  // namespace
}  // namespace pelux
