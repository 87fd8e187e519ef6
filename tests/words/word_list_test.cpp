// The word list's line format, its add and remove rules, and the two exports.
#include <gtest/gtest.h>

#include <algorithm>

#include "words/word_list.h"

namespace pelux {
namespace {

WordEntry word(std::string forms, std::string reading = "", std::string senses = "", std::string sentence = "") {
    return {std::move(forms), std::move(reading), std::move(senses), std::move(sentence),
            "https://example.com/a", "2026-12-09T04:50:00Z"};
}

TEST(WordListFormat, EveryFieldComesBackAsItWasWritten) {
    const std::vector<WordEntry> entries = {
        word("食べる", "たべる", "(v1,vt) to eat; (v1) to live on", "ご飯を食べる。"),
        word("中国; 中國", "zhong1 guo2", "China", "中国人很多。"),
        word("tab\there", "line\nbreak", "back\\slash \\t not an escape", "cr\r\nlf"),
        word("𠮷野家", "", "", "\\\\\t\t\\n"),
    };
    const std::string text = formatWordList(entries);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
    std::string problem;
    const std::optional<std::vector<WordEntry>> read = parseWordList(text, problem);
    ASSERT_TRUE(read) << problem;
    EXPECT_EQ(*read, entries);
    EXPECT_EQ(formatWordLine(entries[2]),
              "tab\\there\tline\\nbreak\tback\\\\slash \\\\t not an escape\tcr\\r\\nlf\thttps://example.com/a\t"
              "2026-12-09T04:50:00Z\n");
}

TEST(WordListFormat, ReadsBlankLinesAndCrLfEndings) {
    std::string problem;
    const auto read = parseWordList("\n猫\tねこ\tcat\t\t\t\r\n\n犬\tいぬ\tdog\t\t\t", problem);
    ASSERT_TRUE(read) << problem;
    ASSERT_EQ(read->size(), 2u);
    EXPECT_EQ((*read)[0].forms, "猫");
    EXPECT_EQ((*read)[1].senses, "dog");
}

TEST(WordListFormat, NamesTheFirstUnreadableLineAndWhy) {
    const struct {
        std::string text;
        std::string problem;
    } cases[] = {
        {"a\tb\tc\td\te\tf\ng\th\n", "line 2 is unreadable: it has 2 fields, not 6"},
        {"a\tb\tc\td\te\tf\tg\n", "line 1 is unreadable: it has more than 6 fields"},
        {"a\tb\\x\tc\td\te\tf\n", "line 1 is unreadable: it holds an unknown escape \\x"},
        {"a\tb\tc\td\te\tf\\\n", "line 1 is unreadable: it ends in a lone backslash"},
        {"\n\na\xff\tb\tc\td\te\tf\n", "line 3 is unreadable: it is not UTF-8"},
        {"\xed\xa0\x80\tb\tc\td\te\tf\n", "line 1 is unreadable: it is not UTF-8"},
        {"\tb\tc\td\te\tf\n", "line 1 is unreadable: its written form is empty"},
    };
    for (const auto& c : cases) {
        std::string problem;
        EXPECT_FALSE(parseWordList(c.text, problem)) << c.text;
        EXPECT_EQ(problem, c.problem);
    }
}

TEST(WordListRules, TheSameFormsAndReadingKeepTheFirstLine) {
    std::vector<WordEntry> entries;
    EXPECT_TRUE(addWord(entries, word("生", "せい", "life")));
    EXPECT_FALSE(addWord(entries, word("生", "せい", "later sense")));
    EXPECT_TRUE(addWord(entries, word("生", "なま", "raw")));
    EXPECT_TRUE(addWord(entries, word("生る", "せい")));
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].senses, "life");
}

TEST(WordListRules, RemovesOnlyWhenTheIndexStillHoldsTheForms) {
    std::vector<WordEntry> entries = {word("一"), word("二"), word("三")};
    EXPECT_FALSE(removeWord(entries, 1, "三"));
    EXPECT_FALSE(removeWord(entries, 3, "三"));
    EXPECT_TRUE(removeWord(entries, 1, "二"));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].forms, "三");
}

TEST(WordListRules, JoinsFormsAndTaggedSenses) {
    EXPECT_EQ(joinForms({"简体", "簡體"}), "简体; 簡體");
    EXPECT_EQ(joinSenses({{"to write", {"v5k", "vt"}}, {"to compose", {}}, {"", {"uk"}}}),
              "(v5k,vt) to write; to compose; (uk) ");
}

TEST(WordListRules, KeepsTheAddressWithoutQueryAndFragment) {
    const std::pair<std::string, std::string> cases[] = {
        {"https://example.com/a/b?q=1#top", "https://example.com/a/b"},
        {"https://example.com/a#frag?not-a-query", "https://example.com/a"},
        {"http://example.com", "http://example.com"},
        {"file:///home/me/page.html?x", "file:///home/me/page.html"},
    };
    for (const auto& [url, kept] : cases) EXPECT_EQ(stripQueryAndFragment(url), kept);
}

TEST(WordListRules, WritesUtcTimes) {
    const std::pair<int64_t, std::string> cases[] = {
        {0, "1970-01-01T00:00:00Z"},
        {951782400, "2000-02-29T00:00:00Z"},
        {1796791800, "2026-12-09T04:50:00Z"},
        {-1, "1969-12-31T23:59:59Z"},
        {4107542399, "2100-02-28T23:59:59Z"},
    };
    for (const auto& [seconds, text] : cases) EXPECT_EQ(isoUtcTime(seconds), text) << seconds;
}

TEST(WordExport, AnkiFileHasItsHeadersAndQuotesTrickyFields) {
    const std::vector<WordEntry> entries = {
        word("猫", "ねこ", "(n) cat", "a, b"),
        word("#tag", "say \"hi\"", "two\nlines", "tab\there"),
    };
    EXPECT_EQ(exportForAnki(entries),
              "#separator:tab\n#html:false\n#columns:Front\tReading\tMeaning\tSentence\tSource\tAdded\n"
              "猫\tねこ\t(n) cat\ta, b\thttps://example.com/a\t2026-12-09T04:50:00Z\n"
              "\"#tag\"\t\"say \"\"hi\"\"\"\t\"two\nlines\"\t\"tab\there\"\thttps://example.com/a\t"
              "2026-12-09T04:50:00Z\n");
}

TEST(WordExport, CsvQuotesCommasQuotesAndLineBreaks) {
    const std::vector<WordEntry> entries = {
        word("猫", "ねこ", "(n) cat", "#not special"),
        word("a,b", "say \"hi\"", "two\r\nlines", "tab\there"),
    };
    EXPECT_EQ(exportAsCsv(entries),
              "Front,Reading,Meaning,Sentence,Source,Added\r\n"
              "猫,ねこ,(n) cat,#not special,https://example.com/a,2026-12-09T04:50:00Z\r\n"
              "\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",tab\there,https://example.com/a,2026-12-09T04:50:00Z\r\n");
    EXPECT_EQ(exportAsCsv({}), "Front,Reading,Meaning,Sentence,Source,Added\r\n");
}

}  // namespace
}  // namespace pelux
