// The host's side of reader mode: the options page's switches, the popup's fields of a pointer
// reply, and the dictionary that loads by itself at start.
#include <gtest/gtest.h>

#include <vector>

#include "band/band_settings.h"
#include "band/load_at_start.h"
#include "band/reader_switches.h"
#include "dictionary/dictionary.h"
#include "support/host_harness.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using nlohmann::json;
using testing::CMemorySettings;
using testing::runHost;

std::string pointer(int seq, const char* character, const char* word, const char* sentence, int frame = 0) {
    return json{{"type", "pointer"}, {"tab", 4}, {"frame", frame}, {"seq", seq}, {"x", 1}, {"y", 2},
                {"character", character}, {"word", word}, {"sentence", sentence}, {"hasBody", true}}
        .dump();
}

const std::string kLoadChinese = json{{"type", "command"}, {"tab", 4}, {"id", 32772}, {"bandHeight", 40}}.dump();

class HostReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::prepareHostProcess(); }
    void SetUp() override {
        DictionaryLock lock(testing::testEngine().store().mutex());
        testing::testEngine().store().resetForLoad(None);
    }
    void TearDown() override {
        for (const ReaderSwitch& s : readerSwitches()) (testing::testEngine().settings().*s.field) = 0;
    }
    std::vector<json> pointerReplies(const std::vector<std::string>& messages) {
        std::vector<json> all = runHost(messages, settings);
        std::erase_if(all, [](const json& m) { return m["type"] != "pointerResult"; });
        return all;
    }
    CMemorySettings settings;
};

TEST_F(HostReaderTest, SetsAReaderSwitchStoresItAndTellsEveryone) {
    testing::testEngine().settings().Deinflect = 7;  // from a settings file edited by hand
    const std::vector<json> replies = runHost(
        {json{{"type", "setSetting"}, {"name", "ReaderPopup"}, {"value", 1}}.dump(),
         json{{"type", "setSetting"}, {"name", "UseToolTips"}, {"value", 1}}.dump(),
         json{{"type", "setSetting"}, {"name", "AllEntries"}, {"value", 2}}.dump(),
         json{{"type", "getReaderSettings"}}.dump()},
        settings);
    const json values = {{"AllEntries", 0}, {"StandardPinyin", 0}, {"HepburnRomaji", 0},
                         {"Deinflect", 1}, {"ReaderPopup", 1}, {"LoadAtStart", 0}};
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0], (json{{"type", "readerSettings"}, {"values", values}}));
    EXPECT_EQ(replies[1], replies[0]);
    EXPECT_EQ(settings.values[u"ReaderPopup"], u"1");
    EXPECT_FALSE(settings.values.contains(u"UseToolTips"));
    EXPECT_FALSE(settings.values.contains(u"AllEntries"));
}

TEST_F(HostReaderTest, PointerRepliesCarryTheMatchOnlyWithThePopupOn) {
    const std::string zh = pointer(1, "中", "中国人很多", "中国人很多。");
    const std::string en = pointer(2, "c", "cats", "cats", 3);
    const std::string nothing = json{{"type", "pointer"}, {"tab", 4}, {"frame", 0}, {"seq", 3}, {"x", 1}, {"y", 2},
                                     {"character", nullptr}, {"word", ""}, {"sentence", ""}, {"hasBody", true}}
                                    .dump();
    testing::testEngine().settings().StandardPinyin = 1;
    runHost({kLoadChinese}, settings);
    std::vector<json> off = pointerReplies({zh});
    ASSERT_EQ(off.size(), 1u);
    EXPECT_EQ(off[0]["lang"], "zh");
    EXPECT_FALSE(off[0].contains("popup"));

    testing::testEngine().settings().ReaderPopup = 1;
    settings.values[u"FontSize"] = u"-27";
    const std::vector<json> on = pointerReplies({zh, en, nothing});
    ASSERT_EQ(on.size(), 3u);
    // The Chinese lookup's popup also carries its card; the English one has none.
    json zhPopup = on[0]["popup"];
    EXPECT_EQ(zhPopup["card"]["entries"][0]["forms"], json::array({"中国人", "中國人"}));
    zhPopup.erase("card");
    EXPECT_EQ(zhPopup, (json{{"match", 3}, {"color", "#0000FF"}, {"fontPixels", 19}, {"tones", true}}));
    EXPECT_EQ(on[1]["popup"], (json{{"match", 4}, {"color", "#0000FF"}, {"fontPixels", 27}, {"tones", true}}))
        << "a frame's popup takes the stored font size";
    EXPECT_EQ(on[0]["text"], off[0]["text"]) << "the popup shows the band's own text";
    EXPECT_TRUE(on[2]["text"].is_null());
    EXPECT_FALSE(on[2].contains("popup"));
}

TEST_F(HostReaderTest, LoadsTheLastCompletedLoadAtStartInEveryTab) {
    testing::testEngine().settings().LoadAtStart = 1;
    runHost({json{{"type", "command"}, {"tab", 4}, {"id", 32773}, {"bandHeight", 40}}.dump()}, settings);
    EXPECT_EQ(settings.values[std::u16string(kSettingLastLoadedLanguage)], u"1");
    {
        DictionaryLock lock(testing::testEngine().store().mutex());
        testing::testEngine().store().resetForLoad(None);
    }
    const std::vector<json> replies = runHost({pointer(1, "猫", "猫", "猫が好き。")}, settings);
    ASSERT_GE(replies.size(), 3u);
    EXPECT_EQ(replies[0], (json{{"type", "text"}, {"tab", -1}, {"text", "Loading . . ."}}));
    EXPECT_EQ(replies.back(), (json{{"type", "loadEnded"}, {"tab", -1}}));
    DictionaryLock lock(testing::testEngine().store().mutex());
    EXPECT_EQ(testing::testEngine().store().language(), Japanese);
    EXPECT_TRUE(testing::testEngine().store().isLoaded());
}

TEST_F(HostReaderTest, SurvivesDamagedCopiesOfTheOptionsPagesMessages) {
    std::vector<std::string> damaged;
    for (const std::string& message : {json{{"type", "setSetting"}, {"name", "AllEntries"}, {"value", 1}}.dump(),
                                       json{{"type", "getReaderSettings"}}.dump()}) {
        for (std::size_t cut = 0; cut < message.size(); ++cut) damaged.push_back(message.substr(0, cut));
        for (std::size_t at = 0; at < message.size(); ++at) {
            for (char bad : {'\0', '\xff', '"', '0', '{'}) {
                std::string copy = message;
                copy[at] = bad;
                damaged.push_back(copy);
            }
        }
    }
    damaged.push_back(json{{"type", "getReaderSettings"}}.dump());
    const std::vector<json> replies = runHost(damaged, settings);
    ASSERT_FALSE(replies.empty());
    EXPECT_EQ(replies.back()["type"], "readerSettings");
}

}  // namespace
}  // namespace pelux
