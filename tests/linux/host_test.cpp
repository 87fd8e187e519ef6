#include "host/native_host.h"

#include <gtest/gtest.h>

#include <vector>

#include "band/band_settings.h"
#include "dictionary/dictionary.h"
#include "adapters/platform_linux.h"
#include "adapters/utf8.h"
#include "support/host_harness.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

using nlohmann::json;
using testing::CMemorySettings;
using testing::prepareHostProcess;
using testing::runHost;

std::string pointer(int seq, const char* character, const char* word, const char* sentence) {
    return json{{"type", "pointer"}, {"tab", 4}, {"frame", 0}, {"seq", seq}, {"x", 120}, {"y", 45},
                {"character", character}, {"word", word}, {"sentence", sentence}, {"hasBody", true}}
        .dump();
}

class HostTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { prepareHostProcess(); }
    void SetUp() override {
        DictionaryLock lock(testing::testEngine().store().mutex());
        testing::testEngine().store().resetForLoad(None);
    }
    CMemorySettings settings;
};

TEST_F(HostTest, PromptsBeforeALoadAndDropsWhatItCannotRead) {
    const std::vector<json> replies = runHost(
        {"not json", R"({"type":"wipe"})", R"({"type":"pointer","tab":4})", pointer(9, "中", "中", "中国人。")},
        settings);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0]["type"], "pointerResult");
    EXPECT_EQ(replies[0]["seq"], 9);
    EXPECT_EQ(replies[0]["text"], "<---- Please load dictionary for this window.    120 45");
    EXPECT_TRUE(replies[0]["title"].is_null());
}

TEST_F(HostTest, LoadsThroughTheMenuCommandShowingProgressInThatTab) {
    // The pointer message already waits when the load starts, so the load's first pump answers it.
    const std::vector<json> replies = runHost(
        {json{{"type", "command"}, {"tab", 4}, {"id", 32772}, {"bandHeight", 40}}.dump(),
         pointer(1, "国", "国", "国人很多。")},
        settings);
    ASSERT_EQ(replies.size(), 4u);
    EXPECT_EQ(replies[0], (json{{"type", "text"}, {"tab", 4}, {"text", "Loading . . ."}}));
    EXPECT_EQ(replies[1]["text"], "0/34000 lines read.\t\tPress Escape to Cancel");
    EXPECT_EQ(replies[2]["type"], "pointerResult");
    EXPECT_EQ(replies[3], (json{{"type", "loadEnded"}, {"tab", 4}}));

    const std::vector<json> after = runHost({pointer(2, "国", "国", "国人很多。")}, settings);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_NE(after[0]["text"].get<std::string>().find("country"), std::string::npos);
}

TEST_F(HostTest, IgnoresASecondLoadAndStopsAtEscapeFromAnyTab) {
    // Both wait in the input when the load starts: its first pump handles them, in order.
    const std::vector<json> replies = runHost(
        {json{{"type", "command"}, {"tab", 4}, {"id", 32772}, {"bandHeight", 40}}.dump(),
         json{{"type", "command"}, {"tab", 5}, {"id", 32773}, {"bandHeight", 40}}.dump(),
         json{{"type", "key"}, {"tab", 6}, {"key", "Escape"}, {"down", true}}.dump(),
         json{{"type", "key"}, {"tab", 6}, {"key", "Escape"}, {"down", false}}.dump()},
        settings);
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0]["text"], "Loading . . .");
    EXPECT_EQ(replies[1]["text"], "0/34000 lines read.\t\tPress Escape to Cancel");
    EXPECT_EQ(replies[2], (json{{"type", "loadEnded"}, {"tab", 4}}));
    DictionaryLock lock(testing::testEngine().store().mutex());
    EXPECT_EQ(testing::testEngine().store().language(), Chinese);
    EXPECT_EQ(testing::testEngine().store().entriesFor(u"中国").size(), 0u);
}

TEST_F(HostTest, EndsAfterTheLoadWhenTheInputEndsDuringIt) {
    // The input is already closed when the load pumps; the load still runs to its end.
    const std::vector<json> replies =
        runHost({json{{"type", "command"}, {"tab", 2}, {"id", 32773}, {"bandHeight", 40}}.dump()}, settings);
    ASSERT_FALSE(replies.empty());
    EXPECT_EQ(replies.back()["type"], "loadEnded");
    DictionaryLock lock(testing::testEngine().store().mutex());
    EXPECT_TRUE(testing::testEngine().store().isLoaded());
    EXPECT_EQ(testing::testEngine().store().language(), Japanese);
}

TEST_F(HostTest, AnswersBandRequestsAndSavesTheSizeOnClose) {
    settings.values[u"Height"] = u"75";
    settings.values[u"FontSize"] = u"-27";
    const std::vector<json> replies = runHost(
        {json{{"type", "band"}, {"tab", 1}, {"width", 500}, {"height", 0}}.dump(),
         json{{"type", "command"}, {"tab", 1}, {"id", 108}, {"bandHeight", 60}}.dump(),
         json{{"type", "bandClosed"}, {"tab", 1}, {"width", 640}, {"height", 20}}.dump(),
         json{{"type", "show"}, {"visible", false}}.dump(), pointer(3, "a", "a", "")},
        settings);
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0]["height"], 75);
    EXPECT_EQ(replies[0]["fontPixels"], 27);
    EXPECT_EQ(replies[0]["layout"]["text"], json::array({35, 0, 440, 75}));
    EXPECT_EQ(replies[1], (json{{"type", "bandHeight"}, {"tab", 1}, {"height", 35}}));
    // A hidden band answers the pointer without writing anything.
    EXPECT_TRUE(replies[2]["text"].is_null());
    EXPECT_EQ(settings.values[u"Height"], u"35");
    EXPECT_EQ(settings.values[u"Width"], u"640");
}

std::string bandRequest(int64_t tab, int height, std::optional<int> fontHeight, std::optional<int> viewHeight) {
    json message{{"type", "band"}, {"tab", tab}, {"width", 500}, {"height", height}};
    if (fontHeight) message["fontHeight"] = *fontHeight;
    if (viewHeight) message["viewHeight"] = *viewHeight;
    return message.dump();
}

TEST_F(HostTest, AHandEditedHeightIsShownWithinTheRebarsMinimumAndHalfTheView) {
    struct Row {
        const char* stored;
        std::optional<int> viewHeight;
        int shown;
    };
    const Row rows[] = {{"5", 700, 30}, {"-40", 700, 30}, {"5000", 700, 350}, {"5000", 40, 30}, {"120", std::nullopt, 120}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        settings.values[u"Height"] = utf8ToUtf16(row.stored).value();
        const std::vector<json> replies = runHost({bandRequest(1, 0, std::nullopt, row.viewHeight)}, settings);
        ASSERT_EQ(replies.size(), 1u);
        EXPECT_EQ(replies[0]["height"], row.shown);
    }
}

TEST_F(HostTest, ABandDrawnAgainInItsTabKeepsItsHeightFontAndText) {
    settings.values[u"Height"] = u"60";
    settings.values[u"FontSize"] = u"-19";
    const std::vector<json> replies = runHost(
        {bandRequest(4, 0, std::nullopt, 700), bandRequest(4, 95, -27, 700), pointer(1, "中", "中", "中国人。"),
         // Another tab stores other values meanwhile; then tab 4 navigates and draws its band anew.
         json{{"type", "bandClosed"}, {"tab", 5}, {"width", 500}, {"height", 200}}.dump(),
         bandRequest(4, 0, std::nullopt, 700), bandRequest(6, 0, std::nullopt, 700),
         json{{"type", "tabClosed"}, {"tab", 4}}.dump(), bandRequest(4, 0, std::nullopt, 700)},
        settings);
    ASSERT_EQ(replies.size(), 6u);
    EXPECT_TRUE(replies[0]["text"].is_null());
    const json& again = replies[3];
    EXPECT_EQ(again["height"], 95);
    EXPECT_EQ(again["fontHeight"], -27);
    EXPECT_EQ(again["text"], replies[2]["text"]);
    EXPECT_EQ(replies[4]["height"], 200);  // a new tab starts from the settings
    EXPECT_TRUE(replies[4]["text"].is_null());
    EXPECT_EQ(replies[5]["height"], 200);  // so does a closed tab's number
    EXPECT_EQ(replies[5]["fontHeight"], -19);
}

TEST_F(HostTest, AnswersAPointerWhoseTextIsLongerThanTheHostReads) {
    const std::string sentence(3 * 5000, 'x');
    const std::vector<json> replies =
        runHost({pointer(5, "中", std::string(9000, 'w').c_str(), ("中" + sentence).c_str())}, settings);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0]["seq"], 5);
}

TEST_F(HostTest, SurvivesDamagedCopiesOfEveryMessage) {
    const std::vector<std::string> valid = {
        pointer(1, "中", "中", "中国人。"),
        json{{"type", "command"}, {"tab", 1}, {"id", 107}, {"bandHeight", 40}}.dump(),
        json{{"type", "key"}, {"tab", 1}, {"key", "Escape"}, {"down", true}}.dump(),
        json{{"type", "band"}, {"tab", 1}, {"width", 300}, {"height", 0}}.dump(),
        json{{"type", "bandClosed"}, {"tab", 1}, {"width", 300}, {"height", 40}}.dump(),
        json{{"type", "tabClosed"}, {"tab", 1}}.dump(),
        json{{"type", "show"}, {"visible", true}}.dump(),
    };
    // Every message cut short at each length, and with each byte replaced, in turn.
    std::vector<std::string> damaged;
    for (const std::string& message : valid) {
        for (std::size_t cut = 0; cut < message.size(); ++cut) damaged.push_back(message.substr(0, cut));
        for (std::size_t at = 0; at < message.size(); ++at) {
            for (char bad : {'\0', '\xff', '"', '9', '{'}) {
                std::string copy = message;
                copy[at] = bad;
                damaged.push_back(copy);
            }
        }
    }
    damaged.push_back(valid[0]);
    const std::vector<json> replies = runHost(damaged, settings);
    ASSERT_FALSE(replies.empty());
    EXPECT_EQ(replies.back()["type"], "pointerResult");
}

TEST(ChannelKeyState, CountsEscapeDownNowOrSinceTheLastPollInAnyTab) {
    CChannelKeyState keys;
    EXPECT_FALSE(keys.pollEscape());
    keys.onKey(1, "Escape", true);
    keys.onKey(1, "Escape", false);
    EXPECT_TRUE(keys.pollEscape());  // pressed and released since the last poll
    EXPECT_FALSE(keys.pollEscape());
    keys.onKey(2, "Escape", true);
    EXPECT_TRUE(keys.pollEscape());
    EXPECT_TRUE(keys.pollEscape());  // still held in tab 2
    keys.onKey(3, "a", true);
    keys.forgetTab(2);  // the tab closed with the key down
    EXPECT_FALSE(keys.pollEscape());
}

}  // namespace
}  // namespace pelux
