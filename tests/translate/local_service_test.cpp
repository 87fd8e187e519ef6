// The translation over real sockets: libcurl against a server on 127.0.0.1 started by the test.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "adapters/http_curl.h"
#include "adapters/settings_file.h"
#include "translate/fake_ports.h"
#include "translate/translator.h"
#include "support/local_http_server.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using testing::httpReply;
using testing::CLocalHttpServer;
using testing::CRecordingNotices;
using testing::unusedLoopbackPort;

constexpr std::chrono::milliseconds kShortTimeout(400);

class LocalServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = testing::testEngine().store().language();
        testing::testEngine().store().setLanguage(Chinese);
    }
    void TearDown() override { testing::testEngine().store().setLanguage(m_saved); }

    TranslationOutcome translate(const std::string& base, std::u16string_view text) {
        CTranslator translator(http, notices, TranslationSettings{base, kShortTimeout});
        return translator.translate(testing::testEngine().store(), text);
    }
    void expectFailureReported(const TranslationOutcome& outcome) {
        EXPECT_FALSE(outcome.shown);
        EXPECT_TRUE(notices.translations.empty());
        ASSERT_EQ(notices.messages.size(), 1u);
        EXPECT_EQ(notices.messages[0].text, u"Exception occurred");
        EXPECT_EQ(notices.messages[0].caption, u"Error");
    }

    CCurlHttpRequest http;
    CRecordingNotices notices;

private:
    DictionaryLanguage m_saved = Chinese;
};

TEST_F(LocalServiceTest, GoodReplyShowsTheTextareaAndTheRequestLineIsExact) {
    CLocalHttpServer server(httpReply(200, "<html><form><textarea name=q rows=3>I love you</textarea></form></html>"));
    const TranslationOutcome outcome = translate(server.baseUrl(), u"我爱你");
    EXPECT_TRUE(outcome.shown) << outcome.failure;
    EXPECT_EQ(notices.translations, std::vector<std::u16string>{u"I love you"});
    EXPECT_TRUE(notices.messages.empty());
    ASSERT_EQ(server.requestLines().size(), 1u);
    EXPECT_EQ(server.requestLines()[0],
              "GET /translate_t?text=%E6%88%91%E7%88%B1%E4%BD%A0&langpair=zh-CN|en HTTP/1.1");
}

TEST_F(LocalServiceTest, RepliesAreDecodedAsTheServerDeclares) {
    struct Row {
        const char* name;
        std::string body;
        std::string contentType;
        std::u16string translation;
    };
    const Row rows[] = {
        {"UTF-8 Chinese", "<textarea>中华人民共和国</textarea>", "text/html; charset=UTF-8", u"中华人民共和国"},
        {"UTF-8 Japanese with mark", "\xEF\xBB\xBF<textarea>日本語</textarea>", "text/html", u"日本語"},
        {"Latin-1", "<textarea>caf\xE9</textarea>", "text/html; charset=ISO-8859-1", u"caf\u00e9"},
        {"broken UTF-8 bytes", "<textarea>a\xFFz\xE4\xB8</textarea>", "text/html; charset=utf-8", u"a\uFFFDz\uFFFD\uFFFD"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CLocalHttpServer server(httpReply(200, row.body, row.contentType));
        notices.translations.clear();
        translate(server.baseUrl(), u"hello");
        EXPECT_EQ(notices.translations, std::vector<std::u16string>{row.translation});
    }
}

TEST_F(LocalServiceTest, ReplyWithoutTextareaShowsAnEmptyTranslation) {
    CLocalHttpServer server(httpReply(200, "<html><body>Please try again later</body></html>"));
    const TranslationOutcome outcome = translate(server.baseUrl(), u"the中");
    EXPECT_TRUE(outcome.shown);
    EXPECT_EQ(notices.translations, std::vector<std::u16string>{u""});
    ASSERT_EQ(server.requestLines().size(), 1u);
    EXPECT_NE(server.requestLines()[0].find("&langpair=en|zh-CN "), std::string::npos);
}

TEST_F(LocalServiceTest, ErrorStatusIsAFailure) {
    CLocalHttpServer server(httpReply(500, "<textarea>Internal error</textarea>"));
    expectFailureReported(translate(server.baseUrl(), u"中"));
}

TEST_F(LocalServiceTest, RefusedConnectionIsAFailure) {
    const TranslationOutcome outcome = translate("http://127.0.0.1:" + std::to_string(unusedLoopbackPort()), u"中");
    expectFailureReported(outcome);
    EXPECT_FALSE(outcome.failure.empty());
}

TEST_F(LocalServiceTest, ServerThatNeverAnswersEndsAtTheTimeLimit) {
    CLocalHttpServer server("", CLocalHttpServer::Behaviour::StaySilent);
    const TranslationOutcome outcome = translate(server.baseUrl(), u"中");
    expectFailureReported(outcome);
    EXPECT_EQ(server.requestLines().size(), 1u);
}

// The command line: `peluxbar translate`, run as a separate process.
struct CommandResult {
    int exitCode = -1;
    std::string output;
};

std::u16string utf16FromAscii(const std::string& text) { return std::u16string(text.begin(), text.end()); }

CommandResult runPeluxbar(const std::string& arguments, const std::string& environment = "") {
    const char* binary = std::getenv("PELUXBAR_BIN");
    CommandResult result;
    const std::string command = environment + " " + binary + " " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), got);
    const int status = ::pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST(TranslateCommand, PrintsTheTranslationOrFails) {
    if (!std::getenv("PELUXBAR_BIN")) GTEST_SKIP() << "PELUXBAR_BIN is not set";
    CLocalHttpServer server(httpReply(200, "<textarea>Beijing</textarea>"));
    const CommandResult good = runPeluxbar("translate --base " + server.baseUrl() + " 北京");
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.output, "Beijing\n");
    EXPECT_EQ(server.requestLines().at(0), "GET /translate_t?text=%E5%8C%97%E4%BA%AC&langpair=zh-CN|en HTTP/1.1");

    const CommandResult refused =
        runPeluxbar("translate --base http://127.0.0.1:" + std::to_string(unusedLoopbackPort()) + " 北京");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output, "");

    CLocalHttpServer silent("", CLocalHttpServer::Behaviour::StaySilent);
    EXPECT_EQ(runPeluxbar("translate --timeout 0.3 --base " + silent.baseUrl() + " 北京").exitCode, 1);

    EXPECT_EQ(runPeluxbar("translate --base " + server.baseUrl() + " \"$(printf '\\377')\"").exitCode, 2);
    EXPECT_EQ(runPeluxbar("translate").exitCode, 2);
}

TEST(TranslateCommand, UsesTheServiceNamedInTheSettings) {
    if (!std::getenv("PELUXBAR_BIN")) GTEST_SKIP() << "PELUXBAR_BIN is not set";
    CLocalHttpServer server(httpReply(200, "<textarea>Tokyo</textarea>"));
    const std::filesystem::path config =
        std::filesystem::path(PELUX_BINARY_DIR) / "translate_test_config";
    std::filesystem::create_directories(config / "peluxbar");
    CSettingsFile(config / "peluxbar" / "settings").writeValue(u"TranslationService", utf16FromAscii(server.baseUrl()));
    const CommandResult result = runPeluxbar("translate 東京", "XDG_CONFIG_HOME=" + config.string());
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, "Tokyo\n");
    ASSERT_EQ(server.requestLines().size(), 1u);
    std::filesystem::remove_all(config);
}

}  // namespace
}  // namespace pelux
