// The host's word list messages: saving a card's word, and the options page's list, remove and
// export, over words.tsv in a settings folder of the test's own.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include "support/file_text.h"
#include "support/host_harness.h"

namespace pelux {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

// The cards of the two words.
const CardEntry kCatCard = {{u"猫"}, u"ねこ", u"neko", true, std::nullopt, {{u"cat", {u"n"}}}};
const CardEntry kDogCard = {{u"犬", u"狗"}, u"いぬ", u"inu", false, u"< past", {{u"dog", {u"n", u"uk"}}, {u"spy", {}}}};

const WordEntry kCat = {"猫", "ねこ", "(n) cat", "猫がいる。", "https://example.com/cats", "2026-12-09T04:50:00Z"};
const WordEntry kDog = {"犬", "いぬ", "(n) dog", "犬\tと\n猫", "https://example.com/dogs", "2026-12-09T04:51:00Z"};

class WordListServiceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing::prepareHostProcess(); }
    void SetUp() override {
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) m_oldConfigHome = old;
        std::string pattern = (fs::temp_directory_path() / "peluxbar-words-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        m_configHome = pattern;
        ::setenv("XDG_CONFIG_HOME", m_configHome.c_str(), 1);
        m_list = m_configHome / "peluxbar" / "words.tsv";
        ASSERT_EQ(defaultWordListPath(), m_list);
    }
    void TearDown() override {
        if (m_oldConfigHome) ::setenv("XDG_CONFIG_HOME", m_oldConfigHome->c_str(), 1);
        else ::unsetenv("XDG_CONFIG_HOME");
        fs::remove_all(m_configHome);
    }
    void seed(const std::string& text) {
        fs::create_directories(m_list.parent_path());
        std::ofstream(m_list, std::ios::binary) << text;
    }
    std::vector<json> host(const std::vector<json>& messages) {
        std::vector<std::string> frames;
        for (const json& m : messages) frames.push_back(m.dump());
        return testing::runHost(frames, m_settings);
    }
    // Saves through a service whose tab 3 showed `card` in frame 1 for its pointer reply 7.
    std::vector<json> save(const CardEntry& card, const std::u16string& sentence, const std::vector<SaveWordMessage>& messages) {
        FILE* out = std::tmpfile();
        CNativeChannel channel(-1, ::fileno(out));
        CLastCards cards;
        cards.remember(3, 1, 7, card, sentence);
        CWordListService service(channel, m_list, cards);
        for (const SaveWordMessage& m : messages) service.save(m);
        std::rewind(out);
        std::string bytes;
        char chunk[4096];
        for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, out)) > 0;) bytes.append(chunk, got);
        std::fclose(out);
        return testing::parseReplies(bytes);
    }

    std::optional<std::string> m_oldConfigHome;
    fs::path m_configHome;
    fs::path m_list;
    testing::CMemorySettings m_settings;
};

TEST_F(WordListServiceTest, SavesACardsWordOnceWithItsAddressAndTime) {
    const std::vector<json> replies = save(kCatCard, u"猫がいる。",
        {{3, 1, 7, u"https://example.com/cats?id=9#top"}, {3, 1, 7, u"https://example.com/other"}, {3, 1, 8, u"https://x/"}});
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0], (json{{"type", "wordSaved"}, {"tab", 3}, {"frame", 1}, {"saved", true}, {"text", "Saved to the word list."}}));
    EXPECT_EQ(replies[1], (json{{"type", "wordSaved"}, {"tab", 3}, {"frame", 1}, {"saved", false}, {"text", "Already in the word list."}}));
    EXPECT_EQ(replies[2]["saved"], false);
    EXPECT_EQ(replies[2]["text"], "The card has changed; point at the word again to save it.");
    std::string problem;
    const auto entries = CWordListFile(m_list).read(problem);
    ASSERT_TRUE(entries && entries->size() == 1u) << problem;
    WordEntry expected = kCat;
    expected.time = (*entries)[0].time;
    EXPECT_EQ((*entries)[0], expected);
    EXPECT_EQ(expected.time.size(), std::string("2026-12-09T04:50:00Z").size());

    // Every form and every sense of the card's entry, with its tags.
    EXPECT_EQ(save(kDogCard, u"犬。", {{3, 1, 7, u"https://example.com/dogs"}})[0]["saved"], true);
    const auto both = CWordListFile(m_list).read(problem);
    ASSERT_TRUE(both && both->size() == 2u) << problem;
    EXPECT_EQ((*both)[1].forms, "犬; 狗");
    EXPECT_EQ((*both)[1].senses, "(n,uk) dog; spy");
}

TEST_F(WordListServiceTest, AListThatCannotBeReadIsNeitherSavedIntoNorChanged) {
    const std::string broken = formatWordLine(kCat) + "not a word line\n";
    seed(broken);
    const std::vector<json> saved = save(kDogCard, u"犬。", {{3, 1, 7, u"https://example.com/"}});
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0]["saved"], false);
    EXPECT_EQ(saved[0]["text"], "Not saved: the word list " + m_list.string() +
                                    " was left as it is: line 2 is unreadable: it has 1 fields, not 6.");
    const std::vector<json> replies = host({{{"type", "listWords"}},
                                            {{"type", "removeWord"}, {"index", 0}, {"forms", "猫"}},
                                            {{"type", "exportWords"}, {"format", "csv"}}});
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0]["words"], json::array());
    EXPECT_EQ(replies[0]["problem"],
              "the word list " + m_list.string() + " was left as it is: line 2 is unreadable: it has 1 fields, not 6");
    EXPECT_EQ(replies[1]["problem"], replies[0]["problem"]);
    EXPECT_EQ(replies[2], (json{{"type", "wordExport"}, {"format", "csv"}, {"text", ""}, {"problem", replies[0]["problem"]}}));
    EXPECT_EQ(fileText(m_list), broken);
}

TEST_F(WordListServiceTest, ListsRemovesAndExportsForTheOptionsPage) {
    seed(formatWordList({kCat, kDog}));
    const std::vector<json> replies = host({{{"type", "listWords"}},
                                            {{"type", "removeWord"}, {"index", 0}, {"forms", "犬"}},
                                            {{"type", "removeWord"}, {"index", 0}, {"forms", "猫"}},
                                            {{"type", "exportWords"}, {"format", "anki"}}});
    ASSERT_EQ(replies.size(), 4u);
    const json cat = {{"forms", "猫"}, {"reading", "ねこ"}, {"senses", "(n) cat"}, {"sentence", "猫がいる。"},
                      {"url", "https://example.com/cats"}, {"time", "2026-12-09T04:50:00Z"}};
    const json dog = {{"forms", "犬"}, {"reading", "いぬ"}, {"senses", "(n) dog"}, {"sentence", "犬\tと\n猫"},
                      {"url", "https://example.com/dogs"}, {"time", "2026-12-09T04:51:00Z"}};
    EXPECT_EQ(replies[0], (json{{"type", "wordList"}, {"words", {cat, dog}}, {"problem", nullptr}}));
    EXPECT_EQ(replies[1], (json{{"type", "wordList"}, {"words", {cat, dog}},
                                {"problem", "The list has changed meanwhile; nothing was removed."}}));
    EXPECT_EQ(replies[2], (json{{"type", "wordList"}, {"words", {dog}}, {"problem", nullptr}}));
    EXPECT_EQ(replies[3], (json{{"type", "wordExport"}, {"format", "anki"}, {"text", exportForAnki({kDog})}, {"problem", nullptr}}));
    EXPECT_EQ(fileText(m_list), formatWordLine(kDog));
}

TEST_F(WordListServiceTest, ReadingAndRemovingNeverMakeTheFile) {
    const std::vector<json> replies = host({{{"type", "listWords"}},
                                            {{"type", "removeWord"}, {"index", 0}, {"forms", "猫"}},
                                            {{"type", "exportWords"}, {"format", "anki"}},
                                            {{"type", "exportWords"}, {"format", "xlsx"}}});
    ASSERT_EQ(replies.size(), 3u);
    EXPECT_EQ(replies[0], (json{{"type", "wordList"}, {"words", json::array()}, {"problem", nullptr}}));
    EXPECT_EQ(replies[2]["text"], exportForAnki({}));
    EXPECT_FALSE(fs::exists(m_list.parent_path()));
}

TEST_F(WordListServiceTest, AListTooLongForOneMessageShowsItsStartAndSaysSo) {
    std::vector<WordEntry> many(3000, kCat);
    for (std::size_t i = 0; i < many.size(); ++i) {
        many[i].forms = "語" + std::to_string(i);
        many[i].senses = std::string(400, 's');
    }
    seed(formatWordList(many));
    const std::vector<json> replies = host({{{"type", "listWords"}}, {{"type", "exportWords"}, {"format", "csv"}}});
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_LT(serializeMessage(replies[0]).size(), kMaxOutboundMessageBytes);
    const std::size_t shown = replies[0]["words"].size();
    EXPECT_GT(shown, 1000u);
    EXPECT_LT(shown, many.size());
    EXPECT_EQ(replies[0]["problem"], "Only the first " + std::to_string(shown) +
                                         " of the 3000 words fit on this page; \"peluxbar words list\" shows them all.");
    EXPECT_EQ(replies[1]["text"], "");
    EXPECT_EQ(replies[1]["problem"],
              "The word list is too large to export from this page; \"peluxbar words export\" writes it to a file.");
}

}  // namespace
}  // namespace pelux
