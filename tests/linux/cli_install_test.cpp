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

// The user's folders (configuration and home) both lie in `userHome`, never the real ones.
CommandResult runAs(const std::vector<std::string>& arguments, const fs::path& userHome) {
    RunOptions options;
    options.environment = "XDG_CONFIG_HOME=" + shellQuote(userHome.string()) + " HOME=" + shellQuote(userHome.string());
    return runPeluxbar(arguments, options);
}

int run(const std::vector<std::string>& arguments, const fs::path& userHome) {
    return runAs(arguments, userHome).exitCode;
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

TEST_F(InstallCommand, RegistersForChromiumChromeAndFirefoxOfTheUser) {
    ASSERT_EQ(run({"install"}, m_dir), 0);
    const fs::path firefox = m_dir / ".mozilla" / "native-messaging-hosts" / "com.tandrel.peluxbar.json";
    for (const fs::path& manifest : {m_dir / "chromium" / "NativeMessagingHosts" / "com.tandrel.peluxbar.json",
                                     m_dir / "google-chrome" / "NativeMessagingHosts" / "com.tandrel.peluxbar.json", firefox}) {
        SCOPED_TRACE(manifest);
        EXPECT_TRUE(readJson(manifest).is_object());
    }
    EXPECT_EQ(readJson(firefox)["allowed_extensions"], nlohmann::json::array({"peluxbar@tandrel.example"}));
    ASSERT_EQ(run({"uninstall"}, m_dir), 0);
    EXPECT_FALSE(fs::exists(m_dir / "chromium" / "NativeMessagingHosts" / "com.tandrel.peluxbar.json"));
    EXPECT_FALSE(fs::exists(firefox));
}

// Each family names the extension its own way and must not see the other's key: Firefox refuses
// a manifest without allowed_extensions, Chromium one without allowed_origins.
TEST(HostManifest, NamesTheExtensionAsEachBrowserFamilyExpects) {
    const struct {
        HostBrowser browser;
        const char* key;
        const char* absentKey;
        const char* extension;
    } cases[] = {
        {HostBrowser::Chromium, "allowed_origins", "allowed_extensions", "chrome-extension://dnmjknmpjiimmmefmjaadnbbmaldmlcj/"},
        {HostBrowser::Firefox, "allowed_extensions", "allowed_origins", "peluxbar@tandrel.example"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        const nlohmann::json manifest = nlohmann::json::parse(hostManifestText("/usr/bin/peluxbar", c.browser));
        EXPECT_EQ(manifest["name"], "com.tandrel.peluxbar");
        EXPECT_EQ(manifest["path"], "/usr/bin/peluxbar");
        EXPECT_EQ(manifest["type"], "stdio");
        EXPECT_EQ(manifest[c.key], nlohmann::json::array({c.extension}));
        EXPECT_FALSE(manifest.contains(c.absentKey));
    }
}

TEST_F(InstallCommand, PrintsTheManifestOfABrowserFamilyForAnyHostPathAndWritesNothing) {
    const CommandResult firefox = runAs({"install", "--print-manifest", "firefox", "--host-path", "/usr/bin/peluxbar"}, m_dir);
    ASSERT_EQ(firefox.exitCode, 0);
    EXPECT_EQ(firefox.output, hostManifestText("/usr/bin/peluxbar", HostBrowser::Firefox));
    const CommandResult chromium = runAs({"install", "--print-manifest", "chromium", "--host-path", "/opt/p"}, m_dir);
    ASSERT_EQ(chromium.exitCode, 0);
    EXPECT_EQ(chromium.output, hostManifestText("/opt/p", HostBrowser::Chromium));
    EXPECT_TRUE(fs::is_empty(m_dir));
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"install", "--print-manifest", "safari"},
             {"install", "--print-manifest", "firefox", "--host-path", "relative/peluxbar"},
             {"install", "--host-path", "/usr/bin/peluxbar"}}) {
        EXPECT_EQ(run(wrong, m_dir), 2) << wrong[2];
    }
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
