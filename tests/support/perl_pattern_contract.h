// What the dictionary loaders and the English lookup rely on from a Perl-style pattern object,
// as tests that run against any implementation of IPerlPattern. A test executable includes this
// header once and instantiates the suite with its own factory:
//     INSTANTIATE_TEST_SUITE_P(Mine, PerlPatternContract, ::testing::Values(&createMyPattern));
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/perl_pattern.h"

namespace pelux::contract {

struct ExpectedMatch {
    std::u16string value;
    std::vector<std::u16string> groups;  // a group that took no part is expected empty
};

struct PatternRow {
    const char* name;
    std::u16string_view pattern;
    bool global;
    std::u16string_view text;
    std::vector<ExpectedMatch> matches;
};

inline constexpr std::u16string_view kLongSuffix =
    u"(.+[^aeiou])(ian|ied|ed|ist|er|ism|es|est|ing|ings|ly|y|ion|ment|ance|able|en|e|s|ies|ial|ier|iest|ility|"
    u"ibility|or|ors|ers|ists|isms|ive)$";
inline constexpr std::u16string_view kShortSuffix = u"(.+[^aeiou])(ly|able|isms|ists|ments|ings|ers|ions|ors|ives|\\'s)$";
inline constexpr std::u16string_view kWords = u"([^\\s]+?)(\\s+|$)";
inline constexpr std::u16string_view kRuns = u"([^/])+";
inline constexpr std::u16string_view kFields = u"[^\\t]+";
inline constexpr std::u16string_view kKanji = u".*U(....).*?(\\{.*)";
inline constexpr std::u16string_view kEntry = u"(.*?)\\s+(\\[(.*?)\\])?";
inline constexpr std::u16string_view kDefinitions = u"/(.+?)(?=/)";

inline std::vector<PatternRow> suffixRows() {
    return {
        {"long: runs", kLongSuffix, false, u"runs", {{u"runs", {u"run", u"s"}}}},
        {"long: quickly keeps the l", kLongSuffix, false, u"quickly", {{u"quickly", {u"quickl", u"y"}}}},
        {"long: eating", kLongSuffix, false, u"eating", {{u"eating", {u"eat", u"ing"}}}},
        {"long: walked", kLongSuffix, false, u"walked", {{u"walked", {u"walk", u"ed"}}}},
        {"long: stem would end in a vowel", kLongSuffix, false, u"bee", {}},
        {"long: no listed ending", kLongSuffix, false, u"dog", {}},
        {"long: a line feed is not the end", kLongSuffix, false, u"runs\n", {}},
        {"short: quickly", kShortSuffix, false, u"quickly", {{u"quickly", {u"quick", u"ly"}}}},
        {"short: quoted s", kShortSuffix, false, u"dog's", {{u"dog's", {u"dog", u"'s"}}}},
        {"short: payments", kShortSuffix, false, u"payments", {{u"payments", {u"pay", u"ments"}}}},
        {"short: readable", kShortSuffix, false, u"readable", {{u"readable", {u"read", u"able"}}}},
        {"short: no bare s", kShortSuffix, false, u"runs", {}},
        {"short: vowel before ments", kShortSuffix, false, u"movements", {}},
        {"short: case matters", kShortSuffix, false, u"QUICKLY", {}},
    };
}

inline std::vector<PatternRow> lineRows() {
    return {
        {"words of a line", kWords, true, u"go went gone",
         {{u"go ", {u"go", u" "}}, {u"went ", {u"went", u" "}}, {u"gone", {u"gone", u""}}}},
        {"words between mixed blanks", kWords, true, u"be  was\twere\n",
         {{u"be  ", {u"be", u"  "}}, {u"was\t", {u"was", u"\t"}}, {u"were\n", {u"were", u"\n"}}}},
        {"words after a leading blank", kWords, true, u" do did", {{u"do ", {u"do", u" "}}, {u"did", {u"did", u""}}}},
        {"no words in blanks", kWords, true, u"  \t", {}},
        {"runs of a cedict line", kRuns, true, u"中國 中国 [Zhong1 guo2] /China/to eat/\r",
         {{u"中國 中国 [Zhong1 guo2] ", {u" "}}, {u"China", {u"a"}}, {u"to eat", {u"t"}}, {u"\r", {u"\r"}}}},
        {"runs skip empty ones", kRuns, true, u"//a//", {{u"a", {u"a"}}}},
        {"fields skip empty ones", kFields, true, u"4E2D\t\tzhong1\t\n", {{u"4E2D", {}}, {u"zhong1", {}}, {u"\n", {}}}},
        {"fields keep spaces", kFields, true, u"a\tb c\td\n", {{u"a", {}}, {u"b c", {}}, {u"d\n", {}}}},
    };
}

inline std::vector<PatternRow> japaneseRows() {
    return {
        {"kanji line", kKanji, false, u"亜 3021 U4e9c N43 {Asia}\r\n",
         {{u"亜 3021 U4e9c N43 {Asia}\r", {u"4e9c", u"{Asia}\r"}}}},
        {"kanji: last U with a brace after it", kKanji, false, u"亜 U4e9c {Asia U1234 x} {y}\r\n",
         {{u"亜 U4e9c {Asia U1234 x} {y}\r", {u"1234", u"{y}\r"}}}},
        {"kanji: no brace", kKanji, false, u"亜 3021 U4e9c N43\r\n", {}},
        {"entry with reading", kEntry, false, u"ヽ [くりかえし] /(n) repetition mark in katakana/\r\n",
         {{u"ヽ [くりかえし]", {u"ヽ", u"[くりかえし]", u"くりかえし"}}}},
        {"entry without reading", kEntry, false, u"ノベライズ /(exp) novelize/novelise/\r\n",
         {{u"ノベライズ ", {u"ノベライズ", u"", u""}}}},
        {"entry after tabs", kEntry, false, u"日本\t\t[にほん] /Japan/", {{u"日本\t\t[にほん]", {u"日本", u"[にほん]", u"にほん"}}}},
        {"entry starting with a blank", kEntry, false, u" X [y]", {{u" ", {u"", u"", u""}}}},
        {"entry without white space", kEntry, false, u"ABC", {}},
        {"definitions", kDefinitions, true, u"X /novelize/novelise/\r\n",
         {{u"/novelize", {u"novelize"}}, {u"/novelise", {u"novelise"}}}},
        {"definitions: empty one joins the next", kDefinitions, true, u"X /a//b/\r\n",
         {{u"/a", {u"a"}}, {u"//b", {u"/b"}}}},
        {"definitions: no closing slash", kDefinitions, true, u"X /a", {}},
        {"definitions do not cross a line feed", kDefinitions, true, u"/a\nb/", {}},
    };
}

inline std::vector<PatternRow> dialectRows() {
    return {
        {"dot takes a carriage return", u"a.b", false, u"a\rb", {{u"a\rb", {}}}},
        {"dot stops at a line feed", u"a.b", false, u"a\nb", {}},
        {"dollar is the end of the text", u"b$", false, u"ab", {{u"b", {}}}},
        {"dollar is not before a final line feed", u"b$", false, u"ab\n", {}},
        {"quote escaped", u"\\'s", false, u"dog's", {{u"'s", {}}}},
        {"empty matches advance", u"x*", true, u"abc", {{u"", {}}, {u"", {}}, {u"", {}}, {u"", {}}}},
        {"empty and non-empty matches", u"a*", true, u"baa", {{u"", {}}, {u"aa", {}}, {u"", {}}}},
        {"global off gives the leftmost", u"a.", false, u"xayaz", {{u"ay", {}}}},
        {"global on does not overlap", u"aa", true, u"aaaaa", {{u"aa", {}}, {u"aa", {}}}},
        {"alternation binds loosest", u"ab|cd", false, u"xcd", {{u"cd", {}}}},
        {"look-ahead", u"a(?=b)", true, u"acab", {{u"a", {}}}},
        {"lazy", u"a+?", false, u"aaa", {{u"a", {}}}},
        {"digits", u"\\d+", false, u"ab12c", {{u"12", {}}}},
        {"word characters are ASCII", u"\\w+", false, u"h\u00e9llo", {{u"h", {}}}},
        {"case is not ignored", u"abc", false, u"ABC", {}},
        {"a code unit is a character", u"^..$", false, u"\U00020000", {{u"\U00020000", {}}}},
        {"unset group is empty", u"(a)|(b)", false, u"b", {{u"b", {u"", u"b"}}}},
    };
}

class PerlPatternContract : public ::testing::TestWithParam<PerlPatternFactory> {
protected:
    std::unique_ptr<IPerlPattern> make() {
        std::unique_ptr<IPerlPattern> pattern = GetParam()();
        EXPECT_TRUE(pattern != nullptr);
        return pattern;
    }

    void expectRows(const std::vector<PatternRow>& rows) {
        std::unique_ptr<IPerlPattern> pattern = make();
        for (const PatternRow& row : rows) {
            SCOPED_TRACE(row.name);
            pattern->setPattern(row.pattern);
            pattern->setGlobal(row.global);
            const std::vector<PerlMatch>& matches = pattern->execute(row.text);
            ASSERT_EQ(matches.size(), row.matches.size());
            for (std::size_t i = 0; i < matches.size(); ++i) {
                EXPECT_TRUE(matches[i].value == row.matches[i].value) << "match " << i;
                ASSERT_EQ(matches[i].subMatches.size(), row.matches[i].groups.size()) << "match " << i;
                for (std::size_t k = 0; k < matches[i].subMatches.size(); ++k)
                    EXPECT_TRUE(matches[i].subMatches[k] == row.matches[i].groups[k]) << "match " << i << " group " << k + 1;
            }
        }
    }
};

TEST_P(PerlPatternContract, SuffixPatternsFindTheStem) { expectRows(suffixRows()); }
TEST_P(PerlPatternContract, ChineseAndWordPatternsSplitLines) { expectRows(lineRows()); }
TEST_P(PerlPatternContract, JapanesePatternsTakeEntriesApart) { expectRows(japaneseRows()); }
TEST_P(PerlPatternContract, DialectMatchesTheWindowsObject) { expectRows(dialectRows()); }

TEST_P(PerlPatternContract, BadPatternRaisesPatternError) {
    std::unique_ptr<IPerlPattern> pattern = make();
    // The Windows object reports a bad pattern when it runs, PCRE2 when it compiles.
    EXPECT_THROW(
        {
            pattern->setPattern(u"(unclosed");
            pattern->execute(u"unclosed");
        },
        CPatternError);
}

TEST_P(PerlPatternContract, MatchesAreViewsIntoTheText) {
    std::unique_ptr<IPerlPattern> pattern = make();
    pattern->setPattern(kDefinitions);
    pattern->setGlobal(true);
    const std::u16string text = u"犬 [いぬ] /dog/hound/";
    const std::vector<PerlMatch>& matches = pattern->execute(text);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[1].subMatches[0].data(), text.data() + text.find(u"hound"));
}

TEST_P(PerlPatternContract, OneObjectServesManyTextsAndPatterns) {
    std::unique_ptr<IPerlPattern> pattern = make();
    pattern->setPattern(kRuns);
    pattern->setGlobal(true);
    EXPECT_EQ(pattern->execute(u"a/b/c/d").size(), 4u);
    EXPECT_EQ(pattern->execute(u"a").size(), 1u);
    EXPECT_EQ(pattern->execute(u"").size(), 0u);
    pattern->setGlobal(false);
    EXPECT_EQ(pattern->execute(u"a/b/c/d").size(), 1u);
    pattern->setPattern(kFields);
    pattern->setGlobal(true);
    EXPECT_EQ(pattern->execute(u"a\tb").size(), 2u);
}

}  // namespace pelux::contract
