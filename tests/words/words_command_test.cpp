// `peluxbar words` as a user runs it, over words.tsv in a settings folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/file_text.h"
#include "support/run_peluxbar.h"
#include "words/word_list.h"

namespace pelux {
namespace {

namespace fs = std::filesystem;

const WordEntry kCat = {"猫", "ねこ", "(n) cat", "猫\tが\x1b[2Jいる。", "https://example.com/cats", "2026-12-09T04:50:00Z"};
const WordEntry kDog = {"犬", "いぬ", "(n) dog", "犬。", "https://example.com/dogs", "2026-12-09T04:51:00Z"};

class WordsCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_home = fs::temp_directory_path() / ("peluxbar-words-cli-" + std::to_string(::getpid()));
        fs::remove_all(m_home);
        fs::create_directories(m_home / "peluxbar");
        m_list = m_home / "peluxbar" / "words.tsv";
    }
    void TearDown() override { fs::remove_all(m_home); }
    CommandResult run(const std::vector<std::string>& arguments) {
        return runPeluxbar(arguments, {true, "XDG_CONFIG_HOME=" + shellQuote(m_home.string()), ""});
    }
    void seed(const std::string& text) { std::ofstream(m_list, std::ios::binary) << text; }

    fs::path m_home;
    fs::path m_list;
};

TEST_F(WordsCommandTest, ListsExportsAndRemovesByTheListedNumber) {
    seed(formatWordList({kCat, kDog}));
    const CommandResult list = run({"words", "list"});
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.output,
              "1\t猫\tねこ\t(n) cat\t猫\\tが\\x1B[2Jいる。\thttps://example.com/cats\t2026-12-09T04:50:00Z\n"
              "2\t犬\tいぬ\t(n) dog\t犬。\thttps://example.com/dogs\t2026-12-09T04:51:00Z\n");

    const fs::path anki = m_home / "out.txt";
    const fs::path csv = m_home / "out.csv";
    EXPECT_EQ(run({"words", "export", "--anki", anki.string()}).output, "2 words written to " + anki.string() + "\n");
    EXPECT_EQ(fileText(anki), exportForAnki({kCat, kDog}));
    EXPECT_EQ(run({"words", "export", "--csv", csv.string()}).exitCode, 0);
    EXPECT_EQ(fileText(csv), exportAsCsv({kCat, kDog}));

    const CommandResult missing = run({"words", "remove", "3"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.output, "peluxbar words: there is no word 3; the list has 2\n");
    EXPECT_EQ(run({"words", "remove", "1"}).output, "removed 1\t猫\n");
    EXPECT_EQ(fileText(m_list), formatWordLine(kDog));
}

TEST_F(WordsCommandTest, AListThatCannotBeReadIsReportedAndLeftAsItIs) {
    const std::string broken = formatWordLine(kCat) + "a\tb\\q\tc\td\te\tf\n";
    seed(broken);
    const fs::path anki = m_home / "out.txt";
    const std::string problem =
        "peluxbar words: the word list " + m_list.string() + " was left as it is: line 2 is unreadable: it holds an unknown escape \\q\n";
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"words", "list"}, {"words", "remove", "1"}, {"words", "export", "--anki", anki.string()}}) {
        const CommandResult result = run(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments[1];
        EXPECT_EQ(result.output, problem) << arguments[1];
    }
    EXPECT_EQ(fileText(m_list), broken);
    EXPECT_FALSE(fs::exists(anki));
}

}  // namespace
}  // namespace pelux
