// The host's menu commands, Text Color dialogs and translations, message by message, with the
// settings kept in a file under a configuration directory of the test's own.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "band/band_geometry.h"
#include "band/band_menu.h"
#include "band/band_settings.h"
#include "band/reference_pages.h"
#include "band/settings_values.h"
#include "dictionary/dictionary.h"
#include "adapters/platform_linux.h"
#include "adapters/settings_file.h"
#include "support/host_harness.h"
#include "support/local_http_server.h"
#include "support/test_engine.h"
#include "support/text_trace.h"
#include "adapters/utf8.h"

namespace pelux {
namespace {

using nlohmann::json;
using testing::httpReply;
using testing::CLocalHttpServer;
using testing::CMemorySettings;
using testing::prepareHostProcess;
using testing::runHost;
using testing::unusedLoopbackPort;

std::string command(int64_t tab, int64_t id, int bandHeight = 40, std::optional<int> fontHeight = {}) {
    json message{{"type", "command"}, {"tab", tab}, {"id", id}, {"bandHeight", bandHeight}};
    if (fontHeight) message["fontHeight"] = *fontHeight;
    return message.dump();
}

std::string colorAnswer(int64_t tab, int64_t dialog, int result, const std::string& text = "") {
    return json{{"type", "colorAnswer"}, {"tab", tab}, {"dialog", dialog}, {"result", result}, {"text", text}}
        .dump();
}

std::string tabClosed(int64_t tab) { return json{{"type", "tabClosed"}, {"tab", tab}}.dump(); }

std::string bandRequest(int64_t tab) {
    return json{{"type", "band"}, {"tab", tab}, {"width", 400}, {"height", 40}}.dump();
}

json colorDialog(int64_t tab, int64_t dialog, const std::string& text) {
    return {{"type", "colorDialog"}, {"tab", tab}, {"dialog", dialog}, {"text", text}};
}

json navigate(int64_t tab, std::u16string_view url) {
    return {{"type", "navigate"}, {"tab", tab}, {"url", utf16ToUtf8(url)}};
}

// The check mark of one command in a menu as sent to the extension, searched through pop-ups.
std::optional<bool> checkMark(const json& menu, uint32_t id) {
    for (const json& item : menu) {
        if (item.contains("items")) {
            if (std::optional<bool> found = checkMark(item["items"], id)) return found;
        } else if (item.contains("id") && item["id"] == id) {
            return item["checked"].get<bool>();
        }
    }
    return std::nullopt;
}

class HostCommandsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { prepareHostProcess(); }

    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) m_oldConfigHome = old;
        std::string pattern = (std::filesystem::temp_directory_path() / "peluxbar-host-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_configHome = pattern;
        ::setenv("XDG_CONFIG_HOME", m_configHome.c_str(), 1);
        settings = std::make_unique<CSettingsFile>(defaultSettingsPath());
        ASSERT_EQ(settings->path(), m_configHome / "peluxbar" / "settings");

        // The record is shared by the whole process: every test starts from the same one.
        BandSettings& record = testing::testEngine().settings();
        record.UseToolTips = 1;
        record.ShowSubWordTranslations = 0;
        record.FontColor = *colorFromText(u"#0000FF");
    }

    void TearDown() override {
        if (m_oldConfigHome) ::setenv("XDG_CONFIG_HOME", m_oldConfigHome->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(m_configHome, ignored);
    }

    std::vector<json> run(const std::vector<std::string>& messages) { return runHost(messages, *settings); }

    // What the file holds now, read by a reader of its own as another process would.
    std::optional<std::string> stored(std::u16string_view name) {
        const std::optional<std::u16string> value = CSettingsFile(defaultSettingsPath()).readValue(name);
        if (!value) return std::nullopt;
        return utf16ToUtf8(*value);
    }

    std::string currentColour() { return utf16ToUtf8(colorToText(testing::testEngine().settings().FontColor)); }

    std::unique_ptr<CSettingsFile> settings;

private:
    std::filesystem::path m_configHome;
    std::optional<std::string> m_oldConfigHome;
};

TEST_F(HostCommandsTest, TogglesAreWrittenToTheFileAndBroadcastToEveryTab) {
    const std::vector<json> replies =
        run({command(3, kCommandUseToolTips), command(5, kCommandShowSubWords), command(5, kCommandShowSubWords)});
    ASSERT_EQ(replies.size(), 3u);
    struct Row {
        bool toolTips, subWords;
    };
    const Row expected[] = {{false, false}, {false, true}, {false, false}};
    for (std::size_t i = 0; i < replies.size(); ++i) {
        SCOPED_TRACE("reply " + std::to_string(i));
        // No tab: the extension redraws the check marks and colour of every tab from it.
        EXPECT_EQ(replies[i]["type"], "settings");
        EXPECT_FALSE(replies[i].contains("tab"));
        EXPECT_EQ(replies[i]["fontColor"], "#0000FF");
        EXPECT_EQ(checkMark(replies[i]["menu"], kCommandUseToolTips), expected[i].toolTips);
        EXPECT_EQ(checkMark(replies[i]["menu"], kCommandShowSubWords), expected[i].subWords);
    }
    EXPECT_EQ(stored(u"UseToolTips"), "0");
    EXPECT_EQ(stored(u"ShowSubWordTranslations"), "0");
    EXPECT_EQ(testing::testEngine().settings().UseToolTips.load(), 0);
}

TEST_F(HostCommandsTest, FontSizeStepsByFourHeldAtEightPixelsAndStored) {
    struct Row {
        const char* name;
        uint32_t id;
        std::optional<int> fontHeight;  // as the tab last drew it
        const char* storedSize;         // "FontSize" before the command
        int expected;
    };
    const Row rows[] = {
        {"larger from -19", kCommandFontLarger, -19, nullptr, -23},
        {"larger from -27", kCommandFontLarger, -27, nullptr, -31},
        {"smaller from -11 stops at -8", kCommandFontSmaller, -11, nullptr, -8},
        {"smaller from -8 stays", kCommandFontSmaller, -8, nullptr, -8},
        {"no upper limit", kCommandFontLarger, -400, nullptr, -404},
        {"band not drawn yet: the stored size", kCommandFontLarger, std::nullopt, "-20", -24},
        {"nothing stored: the band's default -19", kCommandFontLarger, std::nullopt, nullptr, -23},
        {"unreadable stored size: the default GUI font", kCommandFontLarger, std::nullopt, "big", -15},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::filesystem::remove(settings->path());
        if (row.storedSize) settings->writeValue(u"FontSize", utf8ToUtf16(row.storedSize).value());
        const std::vector<json> replies = run({command(6, row.id, 40, row.fontHeight)});
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0], (json{{"type", "bandFont"},
                                    {"tab", 6},
                                    {"fontHeight", row.expected},
                                    {"fontPixels", fontPixelHeight(row.expected)}}));
        EXPECT_EQ(stored(u"FontSize"), std::to_string(row.expected));
    }
}

TEST_F(HostCommandsTest, HeightButtonsStepByThirtyFiveNeverBelowThirtyFive) {
    struct Row {
        uint32_t id;
        int height, expected;
    };
    const Row rows[] = {{kCommandBandBigger, 40, 75}, {kCommandBandSmaller, 60, 35},
                        {kCommandBandSmaller, 35, 35}, {kCommandBandSmaller, 20, 35},
                        {kCommandBandBigger, 0, 35}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.id) + " on " + std::to_string(row.height));
        const std::vector<json> replies = run({command(2, row.id, row.height)});
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0], (json{{"type", "bandHeight"}, {"tab", 2}, {"height", row.expected}}));
    }
    // The height is remembered when the band closes, not by the buttons.
    EXPECT_FALSE(stored(u"Height"));
}

TEST_F(HostCommandsTest, EveryReferencePageNavigatesOnlyTheTabThatAsked) {
    ASSERT_EQ(referencePages().size(), 9u);
    for (const ReferencePage& page : referencePages()) {
        SCOPED_TRACE(traceOf(page.address));
        const std::vector<json> replies = run({command(11, page.command)});
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0], navigate(11, page.address));
    }
    EXPECT_FALSE(std::filesystem::exists(settings->path()));
}

TEST_F(HostCommandsTest, ColorOkStoresTheTextAsEnteredAndChangesTheColourOnlyWhenItParses) {
    struct Row {
        const char* entered;
        const char* stored;
        const char* colour;  // the text colour afterwards
    };
    const Row rows[] = {
        {"#FF0000", "#FF0000", "#FF0000"},
        {"#ff8000", "#ff8000", "#FF8000"},
        {"#00FF00FF", "#00FF00", "#00FF00"},  // only the edit's seven characters count
        {"red", "red", "#0000FF"},
        {"红色", "红色", "#0000FF"},
        {"", "", "#0000FF"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entered);
        testing::testEngine().settings().FontColor = *colorFromText(u"#0000FF");
        const std::vector<json> replies = run({command(3, kCommandColor), colorAnswer(3, 1, 1, row.entered)});
        ASSERT_EQ(replies.size(), 2u);
        EXPECT_EQ(replies[0], colorDialog(3, 1, "#0000FF"));
        EXPECT_EQ(replies[1]["type"], "settings");
        EXPECT_EQ(replies[1]["fontColor"], row.colour);
        EXPECT_EQ(currentColour(), row.colour);
        EXPECT_EQ(stored(u"FontColor"), row.stored);
    }
}

TEST_F(HostCommandsTest, OtherMessagesAreAnsweredWhileTheDialogWaits) {
    const std::vector<json> replies = run({command(3, kCommandColor), bandRequest(8), command(8, kCommandBandBigger),
                                           colorAnswer(3, 1, 1, "#123456")});
    ASSERT_EQ(replies.size(), 4u);
    EXPECT_EQ(replies[0]["type"], "colorDialog");
    EXPECT_EQ(replies[1]["type"], "bandState");
    EXPECT_EQ(replies[1]["tab"], 8);
    EXPECT_EQ(replies[2], (json{{"type", "bandHeight"}, {"tab", 8}, {"height", 75}}));
    EXPECT_EQ(replies[3]["fontColor"], "#123456");
}

TEST_F(HostCommandsTest, ALoadRunsWhileADialogIsOpenAndTheAnswerTakesEffectAtOnce) {
    const std::vector<json> replies =
        run({command(3, kCommandColor), command(4, kCommandLoadChinese), colorAnswer(3, 1, 1, "#123456")});
    ASSERT_GE(replies.size(), 4u);
    EXPECT_EQ(replies[0], colorDialog(3, 1, "#0000FF"));
    EXPECT_EQ(replies[1], (json{{"type", "text"}, {"tab", 4}, {"text", "Loading . . ."}}));
    // The load's pump hands the answer over while the load goes on.
    const auto answered = std::find_if(replies.begin(), replies.end(),
                                       [](const json& reply) { return reply["type"] == "settings"; });
    ASSERT_NE(answered, replies.end());
    EXPECT_EQ((*answered)["fontColor"], "#123456");
    EXPECT_EQ(replies.back(), (json{{"type", "loadEnded"}, {"tab", 4}}));
    EXPECT_EQ(stored(u"FontColor"), "#123456");
    DictionaryLock lock(testing::testEngine().store().mutex());
    EXPECT_TRUE(testing::testEngine().store().isLoaded());
    EXPECT_EQ(testing::testEngine().store().language(), Chinese);
    testing::testEngine().store().resetForLoad(None);
}

TEST_F(HostCommandsTest, CancelAndUnknownResultsChangeNothing) {
    for (int result : {kColorDialogCancel, -1, 0, 3, 205}) {
        SCOPED_TRACE("result " + std::to_string(result));
        const std::vector<json> replies = run({command(3, kCommandColor), colorAnswer(3, 1, result, "#FF0000")});
        ASSERT_EQ(replies.size(), 2u);
        EXPECT_EQ(replies[1]["fontColor"], "#0000FF");
        EXPECT_EQ(currentColour(), "#0000FF");
    }
    EXPECT_FALSE(std::filesystem::exists(settings->path()));
}

TEST_F(HostCommandsTest, OtherColorsOpensTheColourNamesInTheDialogsTab) {
    const std::vector<json> replies =
        run({command(3, kCommandColor), colorAnswer(3, 1, kColorDialogOtherColors, "#FF0000")});
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[1], navigate(3, kColourNamesPage));
    EXPECT_EQ(currentColour(), "#0000FF");
    EXPECT_FALSE(stored(u"FontColor"));
}

TEST_F(HostCommandsTest, TwoDialogsAnsweredOutOfOrderEachKeepTheirOwnAnswer) {
    // Tab 4's dialog opens inside tab 3's wait; tab 3 answers first, but its answer is kept
    // until tab 4's dialog, the inner one, has ended.
    const std::vector<json> replies = run({command(3, kCommandColor), command(4, kCommandColor),
                                           colorAnswer(3, 1, 1, "#112233"), colorAnswer(4, 2, 1, "#445566")});
    ASSERT_EQ(replies.size(), 4u);
    EXPECT_EQ(replies[0], colorDialog(3, 1, "#0000FF"));
    EXPECT_EQ(replies[1], colorDialog(4, 2, "#0000FF"));
    EXPECT_EQ(replies[2]["fontColor"], "#445566");
    EXPECT_EQ(replies[3]["fontColor"], "#112233");
    EXPECT_EQ(stored(u"FontColor"), "#112233");
}

TEST_F(HostCommandsTest, OnlyTheTabOfADialogEndsItAndOnlyOnce) {
    const std::vector<json> replies =
        run({command(3, kCommandColor), colorAnswer(4, 1, 1, "#444444"), colorAnswer(3, 7, 1, "#777777"),
             colorAnswer(3, 1, 1, "#333333"), colorAnswer(3, 1, 1, "#999999")});
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[1]["fontColor"], "#333333");
    EXPECT_EQ(stored(u"FontColor"), "#333333");
}

TEST_F(HostCommandsTest, ATabClosedUnderItsDialogCancelsOnlyThatDialog) {
    // Tab 3 closes while tab 4's dialog, opened after its own, still waits.
    const std::vector<json> replies =
        run({command(3, kCommandColor), command(4, kCommandColor), tabClosed(3), colorAnswer(3, 1, 1, "#333333"),
             colorAnswer(4, 2, 1, "#444444")});
    ASSERT_EQ(replies.size(), 4u);
    EXPECT_EQ(replies[2]["fontColor"], "#444444");
    EXPECT_EQ(replies[3]["fontColor"], "#444444");
    EXPECT_EQ(stored(u"FontColor"), "#444444");

    const std::vector<json> alone = run({command(5, kCommandColor), tabClosed(5), command(6, kCommandBandSmaller)});
    ASSERT_EQ(alone.size(), 3u);
    EXPECT_EQ(alone[1]["type"], "settings");
    EXPECT_EQ(alone[2]["type"], "bandHeight");
    EXPECT_EQ(currentColour(), "#444444");
}

TEST_F(HostCommandsTest, TheEndOfTheInputCancelsEveryWaitingDialog) {
    const std::vector<json> replies = run({command(3, kCommandColor), command(4, kCommandColor)});
    ASSERT_EQ(replies.size(), 4u);
    EXPECT_EQ(replies[2]["fontColor"], "#0000FF");
    EXPECT_EQ(replies[3]["fontColor"], "#0000FF");
    EXPECT_FALSE(std::filesystem::exists(settings->path()));
}

TEST_F(HostCommandsTest, DropsMalformedAndUnknownCommandsAndAnswers) {
    const std::vector<std::string> bad = {
        command(3, 0), command(3, 1), command(3, 106), command(3, 32785), command(3, 32800),
        // A notification code in the upper half matches nothing.
        command(3, (int64_t{1} << 16) | kCommandUseToolTips), command(3, (int64_t{1} << 16) | kCommandColor),
        command(3, -1), command(3, int64_t{1} << 32),
        R"({"type":"command","tab":3,"id":"32795","bandHeight":40})",
        R"({"type":"command","tab":3,"id":32795})",
        R"({"type":"command","id":32795,"bandHeight":40})",
        R"({"type":"command","tab":3,"id":32787,"bandHeight":40,"fontHeight":"big"})",
        R"({"type":"command","tab":3,"id":107,"bandHeight":-5})",
        colorAnswer(3, 1, 1, "#FF0000"), colorAnswer(3, 0, 1, "#FF0000"),
        R"({"type":"colorAnswer","tab":3,"dialog":1,"result":1})",
        R"({"type":"colorAnswer","tab":3,"dialog":1,"result":1,"text":7})",
        R"({"type":"translate","tab":3})",
        R"({"type":"translate","tab":3,"text":null})",
        json{{"type", "translate"}, {"tab", 3}, {"text", std::string(kMaxTranslateUnits + 1, 'a')}}.dump(),
        R"({"type":"colour","tab":3})",
    };
    std::vector<std::string> messages = bad;
    messages.push_back(command(3, kCommandBandBigger));
    const std::vector<json> replies = run(messages);
    // Only the refused translation requests are answered, with the usual failure.
    const json failed{{"type", "notice"}, {"tab", 3}, {"text", "Exception occurred"}, {"caption", "Error"}};
    ASSERT_EQ(replies.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(replies[i], failed);
    EXPECT_EQ(replies[3]["type"], "bandHeight");
    EXPECT_FALSE(std::filesystem::exists(settings->path()));
    EXPECT_EQ(testing::testEngine().settings().UseToolTips.load(), 1);
}

TEST_F(HostCommandsTest, DamagedAnswersNeverCrashAWaitingDialog) {
    const std::string valid = colorAnswer(3, 1, 1, "#FF0000");
    std::vector<std::string> messages = {command(3, kCommandColor)};
    for (std::size_t cut = 0; cut < valid.size(); ++cut) messages.push_back(valid.substr(0, cut));
    for (std::size_t at = 0; at < valid.size(); ++at) {
        for (char bad : {'\0', '\xff', '"', '{', '-'}) {
            std::string copy = valid;
            copy[at] = bad;
            messages.push_back(copy);
        }
    }
    messages.push_back(valid);
    const std::vector<json> replies = run(messages);
    ASSERT_GE(replies.size(), 2u);
    EXPECT_EQ(replies.back()["type"], "settings");
}

TEST_F(HostCommandsTest, ATabHasOneDialogAtATimeAndOnlySoManyWaitAtOnce) {
    const std::vector<json> replies = run({command(1, kCommandColor), command(1, kCommandColor),
                                           colorAnswer(1, 1, 1, "#FF0000"), command(1, kCommandColor),
                                           colorAnswer(1, 2, 1, "#00FF00")});
    ASSERT_EQ(replies.size(), 5u);
    EXPECT_EQ(replies[0], colorDialog(1, 1, "#0000FF"));
    EXPECT_EQ(replies[1]["fontColor"], "#0000FF");  // the second, refused while the first is open
    EXPECT_EQ(replies[2]["fontColor"], "#FF0000");
    EXPECT_EQ(replies[3], colorDialog(1, 2, "#FF0000"));
    EXPECT_EQ(replies[4]["fontColor"], "#00FF00");

    // Each waiting dialog nests on the host's stack: a flood of them must not exhaust it.
    std::vector<std::string> flood;
    for (int tab = 1; tab <= 5000; ++tab) flood.push_back(command(tab, kCommandColor));
    const std::vector<json> flooded = run(flood);
    const auto dialogs = std::count_if(flooded.begin(), flooded.end(),
                                       [](const json& reply) { return reply["type"] == "colorDialog"; });
    EXPECT_EQ(dialogs, 32);
    EXPECT_EQ(flooded.size(), 5000u + 32u);
}

std::string translate(int64_t tab, const std::string& text) {
    return json{{"type", "translate"}, {"tab", tab}, {"text", text}}.dump();
}

// The one reply that went to the tab.
json replyTo(const std::vector<json>& replies, int64_t tab) {
    const auto found = std::find_if(replies.begin(), replies.end(), [tab](const json& r) { return r["tab"] == tab; });
    return found == replies.end() ? json() : *found;
}

class HostTranslateTest : public HostCommandsTest {
protected:
    void SetUp() override {
        HostCommandsTest::SetUp();
        DictionaryLock lock(testing::testEngine().store().mutex());
        m_savedLanguage = testing::testEngine().store().language();
        testing::testEngine().store().setLanguage(Chinese);
    }
    void TearDown() override {
        {
            DictionaryLock lock(testing::testEngine().store().mutex());
            testing::testEngine().store().setLanguage(m_savedLanguage);
        }
        HostCommandsTest::TearDown();
    }
    void useService(const std::string& base) {
        ASSERT_TRUE(settings->writeValue(u"TranslationService", utf8ToUtf16(base).value()));
    }
    static void setLanguage(DictionaryLanguage language) {
        DictionaryLock lock(testing::testEngine().store().mutex());
        testing::testEngine().store().setLanguage(language);
    }
    // A translation's reply comes from a thread of its own: the input stays open for it.
    std::vector<json> run(const std::vector<std::string>& messages, std::size_t awaited) {
        return testing::runHostUntilReplies(messages, *settings, awaited);
    }

private:
    DictionaryLanguage m_savedLanguage = Chinese;
};

TEST_F(HostTranslateTest, AsksTheStoredServiceAndAnswersTheTabThatAsked) {
    struct Row {
        DictionaryLanguage language;
        const char* text;
        const char* request;
    };
    const Row rows[] = {
        {Chinese, "中", "/translate_t?text=%E4%B8%AD&langpair=zh-CN|en"},
        {Chinese, "A\t中", "/translate_t?text=%41%09%E4%B8%AD&langpair=en|zh-CN"},
        {Chinese, "12 中国", "/translate_t?text=%31%32%20%E4%B8%AD%E5%9B%BD&langpair=zh-CN|en"},
        {Chinese, "the 中", "/translate_t?text=%74%68%65%20%E4%B8%AD&langpair=en|zh-CN"},
        {Japanese, "日本", "/translate_t?text=%E6%97%A5%E6%9C%AC&langpair=ja|en"},
        {Japanese, "Japan", "/translate_t?text=%4A%61%70%61%6E&langpair=en|ja"},
    };
    CLocalHttpServer server(httpReply(200, "<p><textarea name=q rows=5>中国 China</textarea><textarea>no</textarea>"));
    useService(server.baseUrl());
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        setLanguage(row.language);
        // The request runs beside the host's loop: the two replies may come in either order.
        const std::vector<json> replies = run({translate(7, row.text), command(8, kCommandBandBigger)}, 2);
        ASSERT_EQ(replies.size(), 2u);
        EXPECT_EQ(replyTo(replies, 7), (json{{"type", "translation"}, {"tab", 7}, {"text", "中国 China"}}));
        EXPECT_EQ(replyTo(replies, 8)["type"], "bandHeight");
        ASSERT_FALSE(server.requestLines().empty());
        EXPECT_EQ(server.requestLines().back(), std::string("GET ") + row.request + " HTTP/1.1");
    }
}

TEST_F(HostTranslateTest, AReplyWithoutATextareaShowsAnEmptyTranslation) {
    CLocalHttpServer server(httpReply(200, "<html><body>Service busy</body></html>"));
    useService(server.baseUrl());
    const std::vector<json> replies = run({translate(7, "你好")}, 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], (json{{"type", "translation"}, {"tab", 7}, {"text", ""}}));
}

TEST_F(HostTranslateTest, ARefusedConnectionIsReportedToTheTabAndTheHostGoesOn) {
    useService("http://127.0.0.1:" + std::to_string(unusedLoopbackPort()));
    const std::vector<json> replies = run({translate(7, "你好"), command(8, kCommandBandSmaller, 70)}, 2);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replyTo(replies, 7),
              (json{{"type", "notice"}, {"tab", 7}, {"text", "Exception occurred"}, {"caption", "Error"}}));
    EXPECT_EQ(replyTo(replies, 8), (json{{"type", "bandHeight"}, {"tab", 8}, {"height", 35}}));
}

std::string noticeClosed(int64_t tab, int64_t notice) {
    return json{{"type", "noticeClosed"}, {"tab", tab}, {"notice", notice}}.dump();
}

TEST_F(HostTranslateTest, WithoutADictionaryTheFirstTranslationExplainsTheDefaultOnce) {
    CLocalHttpServer server(httpReply(200, "<textarea>hello</textarea>"));
    useService(server.baseUrl());
    setLanguage(None);
    // The request waits for the notice: a notice closed by another tab, or one never closed,
    // sends nothing; the second translation needs no notice.
    const std::vector<json> replies = run({translate(7, "hello"), noticeClosed(9, 1), translate(9, "你好")}, 2);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0], (json{{"type", "notice"},
                                {"tab", 7},
                                {"text", "Translating to/from Chinese by default until a dictionary is chosen ..."},
                                {"caption", "Error"},
                                {"notice", 1}}));
    EXPECT_EQ(replies[1], (json{{"type", "translation"}, {"tab", 9}, {"text", "hello"}}));
    ASSERT_EQ(server.requestLines().size(), 1u);
    EXPECT_NE(server.requestLines()[0].find("&langpair=zh-CN|en "), std::string::npos);

    setLanguage(None);
    const std::vector<json> closed = run({translate(7, "hello"), noticeClosed(7, 1), noticeClosed(7, 1)}, 2);
    ASSERT_EQ(closed.size(), 2u);
    EXPECT_EQ(closed[0]["notice"], 1);
    EXPECT_EQ(closed[1], (json{{"type", "translation"}, {"tab", 7}, {"text", "hello"}}));
    ASSERT_EQ(server.requestLines().size(), 2u);
    EXPECT_NE(server.requestLines()[1].find("&langpair=en|zh-CN "), std::string::npos);
}

}  // namespace
}  // namespace pelux
