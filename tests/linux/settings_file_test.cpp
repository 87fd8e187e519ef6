#include "adapters/settings_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <future>

#include "band/band_geometry.h"
#include "band/settings_values.h"

namespace pelux {
namespace {

namespace fs = std::filesystem;

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("peluxbar-settings-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path path() const { return m_dir / "peluxbar" / "settings"; }
    void writeRaw(const std::string& text) {
        fs::create_directories(path().parent_path());
        std::ofstream(path(), std::ios::binary) << text;
    }

    fs::path m_dir;
};

TEST_F(SettingsFileTest, AMissingFileHoldsNoValues) {
    CSettingsFile file(path());
    EXPECT_EQ(file.readValue(u"UseToolTips"), std::nullopt);
    EXPECT_EQ(savedBandSize(file).width, 1000);
}

TEST_F(SettingsFileTest, WritesCreateTheFolderAndReadBack) {
    CSettingsFile file(path());
    ASSERT_TRUE(file.writeValue(u"FontColor", u"#FF0000"));
    ASSERT_TRUE(file.writeValue(u"Height", u"75"));
    ASSERT_TRUE(file.writeValue(u"Height", u"110"));
    CSettingsFile again(path());
    EXPECT_EQ(again.readValue(u"FontColor"), u"#FF0000");
    EXPECT_EQ(again.readValue(u"Height"), u"110");
    EXPECT_EQ(colorFromText(*readSettingText(again, u"FontColor")), 0x0000FFu);
}

TEST_F(SettingsFileTest, KeepsAnyTextExactly) {
    CSettingsFile file(path());
    const std::u16string texts[] = {u"中文 text", u"back\\slash", u"line\nbreak\r", std::u16string(u"nul\0in", 6), u""};
    for (const std::u16string& text : texts) {
        ASSERT_TRUE(file.writeValue(u"FontColor", text));
        EXPECT_EQ(file.readValue(u"FontColor"), text);
    }
}

TEST_F(SettingsFileTest, ACorruptFileMakesEveryValueAbsent) {
    const char* corrupt[] = {
        "UseToolTips=1\nthis line has no equals sign\n",
        "UseToolTips=1\nUseToolTips=0\n",
        "Use Tips=1\n",
        "FontColor=bad\\escape\n",
        "FontColor=\xff\xfe\n",
        "=1\n",
    };
    for (const char* text : corrupt) {
        SCOPED_TRACE(text);
        writeRaw(text);
        CSettingsFile file(path());
        EXPECT_EQ(file.readValue(u"UseToolTips"), std::nullopt);
        EXPECT_EQ(file.readValue(u"FontColor"), std::nullopt);
    }
}

TEST_F(SettingsFileTest, AcceptsCommentsBlankLinesAndCrLf) {
    writeRaw("# a note\r\n\r\nUseToolTips=1\r\nWidth=800\r\n");
    CSettingsFile file(path());
    EXPECT_EQ(file.readValue(u"UseToolTips"), u"1");
    EXPECT_EQ(file.readValue(u"Width"), u"800");
}

TEST_F(SettingsFileTest, AWriteOverACorruptFileLeavesAValidFile) {
    writeRaw("garbage\n");
    CSettingsFile file(path());
    ASSERT_TRUE(file.writeValue(u"Height", u"35"));
    EXPECT_EQ(file.readValue(u"Height"), u"35");
    for (const auto& entry : fs::directory_iterator(path().parent_path())) {
        EXPECT_EQ(entry.path().filename(), "settings") << "a temporary file was left behind";
    }
}

TEST_F(SettingsFileTest, AnUnreadableFileHoldsNoValuesAndAFailedWriteSaysSo) {
    CSettingsFile file(path());
    ASSERT_TRUE(file.writeValue(u"Height", u"35"));
    if (::geteuid() != 0) {
        ::chmod(path().c_str(), 0);
        EXPECT_EQ(file.readValue(u"Height"), std::nullopt);
        ::chmod(path().c_str(), 0600);
    }
    fs::remove_all(m_dir);
    std::ofstream(m_dir.string()) << "a file where the folder should be";
    EXPECT_FALSE(file.writeValue(u"Height", u"40"));
    fs::remove(m_dir);
}

TEST_F(SettingsFileTest, SomethingOtherThanAFileIsNeitherReadNorReplaced) {
    const struct {
        const char* what;
        std::function<void(const fs::path&)> make;
    } rows[] = {
        {"FIFO", [](const fs::path& at) { ASSERT_EQ(::mkfifo(at.c_str(), 0600), 0); }},
        {"folder", [](const fs::path& at) { fs::create_directory(at); }},
        {"link to a FIFO", [this](const fs::path& at) {
             ASSERT_EQ(::mkfifo((m_dir / "fifo").c_str(), 0600), 0);
             fs::create_symlink(m_dir / "fifo", at);
         }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        fs::remove_all(m_dir);
        fs::create_directories(path().parent_path());
        row.make(path());
        std::future<std::pair<bool, bool>> done = std::async(std::launch::async, [this] {
            CSettingsFile file(path());
            return std::pair(file.readValue(u"FontSize").has_value(), file.writeValue(u"FontSize", u"-20"));
        });
        if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            ADD_FAILURE() << "the settings file blocks";
            std::_Exit(1);
        }
        EXPECT_EQ(done.get(), std::pair(false, false));
        EXPECT_FALSE(fs::is_regular_file(path()));
    }
}

TEST(DefaultSettingsPath, FollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-here", 1);
    EXPECT_EQ(defaultSettingsPath(), fs::path("/tmp/xdg-here/peluxbar/settings"));
    ::setenv("XDG_CONFIG_HOME", "relative/is/ignored", 1);
    EXPECT_NE(defaultSettingsPath().string().rfind("relative", 0), 0u);
    if (old) ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace pelux
