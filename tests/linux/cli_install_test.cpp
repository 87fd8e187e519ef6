#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "host/native_registration.h"
#include "support/run_peluxbar.h"

namespace pelux {
namespace {

namespace fs = std::filesystem;

int run(const std::vector<std::string>& arguments, const fs::path& configHome) {
    RunOptions options;
    options.environment = "XDG_CONFIG_HOME=" + shellQuote(configHome.string());
    return runPeluxbar(arguments, options).exitCode;
}

nlohmann::json readJson(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return nlohmann::json::parse(text.str(), nullptr, false);
}

class InstallCommand : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::getenv("PELUXBAR_BIN") == nullptr) GTEST_SKIP() << "PELUXBAR_BIN is not set";
        m_dir = fs::temp_directory_path() / ("peluxbar-install-" + std::to_string(::getpid()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

TEST_F(InstallCommand, RegistersTheHostForOneProfileAndRemovesExactlyThat) {
    const fs::path profile = m_dir / "profile";
    ASSERT_EQ(run({"install", "--user-data-dir", profile.string()}, m_dir / "config"), 0);
    const fs::path manifest = profile / "NativeMessagingHosts" / "com.tandrel.peluxbar.json";
    const nlohmann::json written = readJson(manifest);
    ASSERT_TRUE(written.is_object());
    EXPECT_EQ(written["name"], "com.tandrel.peluxbar");
    EXPECT_EQ(written["type"], "stdio");
    EXPECT_EQ(fs::canonical(written["path"].get<std::string>()), fs::canonical(std::getenv("PELUXBAR_BIN")));
    EXPECT_EQ(written["allowed_origins"], nlohmann::json::array({"chrome-extension://dnmjknmpjiimmmefmjaadnbbmaldmlcj/"}));
    EXPECT_FALSE(fs::exists(m_dir / "config" / "chromium"));

    std::ofstream(profile / "NativeMessagingHosts" / "other.host.json") << "{\"name\":\"other.host\"}";
    ASSERT_EQ(run({"uninstall", "--user-data-dir", profile.string()}, m_dir / "config"), 0);
    EXPECT_FALSE(fs::exists(manifest));
    EXPECT_TRUE(fs::exists(profile / "NativeMessagingHosts" / "other.host.json"));
}

TEST_F(InstallCommand, RegistersForChromiumAndChromeOfTheUser) {
    ASSERT_EQ(run({"install"}, m_dir), 0);
    for (const char* browser : {"chromium", "google-chrome"}) {
        SCOPED_TRACE(browser);
        EXPECT_TRUE(readJson(m_dir / browser / "NativeMessagingHosts" / "com.tandrel.peluxbar.json").is_object());
    }
    ASSERT_EQ(run({"uninstall"}, m_dir), 0);
    EXPECT_FALSE(fs::exists(m_dir / "chromium" / "NativeMessagingHosts" / "com.tandrel.peluxbar.json"));
}

TEST_F(InstallCommand, LeavesAForeignFileOfTheSameNameAlone) {
    const fs::path hosts = m_dir / "profile" / "NativeMessagingHosts";
    fs::create_directories(hosts);
    std::ofstream(hosts / "com.tandrel.peluxbar.json") << "{\"name\":\"someone.else\"}";
    EXPECT_FALSE(uninstallHostManifest(hosts));
    EXPECT_TRUE(fs::exists(hosts / "com.tandrel.peluxbar.json"));
}

TEST_F(InstallCommand, RejectsUnknownArguments) {
    EXPECT_EQ(run({"install", "--user-data-dir"}, m_dir), 2);
    EXPECT_EQ(run({"uninstall", "--everything"}, m_dir), 2);
    EXPECT_EQ(run({"host", "--unknown"}, m_dir), 2);
}

TEST(BrowseCommand, SaysWhatToRunWithoutADisplay) {
    if (std::getenv("PELUXBAR_BIN") == nullptr) GTEST_SKIP() << "PELUXBAR_BIN is not set";
    RunOptions options;
    options.environment = "env -u DISPLAY -u WAYLAND_DISPLAY";
    options.withStderr = true;
    const CommandResult result = runPeluxbar({"browse"}, options);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("needs a display"), std::string::npos);
    EXPECT_NE(result.output.find("peluxbar lookup"), std::string::npos);
}

}  // namespace
}  // namespace pelux
