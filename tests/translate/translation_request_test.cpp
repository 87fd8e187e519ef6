#include "translate/translation_request.h"

#include <gtest/gtest.h>

#include <random>

#include "patterns/brace_regexp.h"

namespace pelux {
namespace {

using Direction = TranslationDirection;

TEST(TranslationDirection, FirstCharacterPastTheLeadInDecides) {
    struct Row {
        const char* name;
        std::u16string text;
        Direction expected;
    };
    const Row rows[] = {
        {"Chinese word", u"中国", Direction::IntoEnglish},
        {"digits and a blank before Chinese", u"2008 年", Direction::IntoEnglish},
        {"letter t before Chinese", u"t中", Direction::IntoEnglish},
        {"quote, bracket, parenthesis, angle before Chinese", u"'[(<北京", Direction::IntoEnglish},
        {"backslash and full stop before Japanese", u"\\.にほん", Direction::IntoEnglish},
        {"kanji", u"日本語", Direction::IntoEnglish},
        {"\"the\" before Chinese: h decides", u"the中", Direction::FromEnglish},
        {"English sentence", u"Where is the station?", Direction::FromEnglish},
        {"tab is no lead-in", u"\t中", Direction::FromEnglish},
        {"Latin-1 letter below 0x100", u"\u00e9t\u00e9 中", Direction::FromEnglish},
        {"first code 0x100", u"\u0100", Direction::IntoEnglish},
        {"full-width digit is not a lead-in", u"\uff11\u5e74", Direction::IntoEnglish},
        {"empty text", u"", Direction::FromEnglish},
        {"only lead-in characters", u"12.5 [(t<", Direction::FromEnglish},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(translationDirection(row.text), row.expected);
    }
}

TEST(LanguagePair, FollowsDirectionAndDictionaryLanguage) {
    EXPECT_EQ(languagePair(Direction::IntoEnglish, Chinese), "zh-CN|en");
    EXPECT_EQ(languagePair(Direction::IntoEnglish, Japanese), "ja|en");
    EXPECT_EQ(languagePair(Direction::FromEnglish, Chinese), "en|zh-CN");
    EXPECT_EQ(languagePair(Direction::FromEnglish, Japanese), "en|ja");
}

TEST(QueryEscaping, EveryByteBecomesUpperCasePercentHex) {
    struct Row {
        const char* name;
        std::u16string text;
        std::string escaped;
    };
    const Row rows[] = {
        {"letter", u"A", "%41"},
        {"tab", u"\t", "%09"},
        {"Chinese", u"中", "%E4%B8%AD"},
        {"words and punctuation", u"a b&c", "%61%20%62%26%63"},
        {"kana", u"か", "%E3%81%8B"},
        {"Latin-1", u"\u00e9", "%C3%A9"},
        {"astral pair is one sequence", u"\U0001F600", "%F0%9F%98%80"},
        {"lone high surrogate", std::u16string(1, char16_t(0xD83D)) + u"x", "%EF%BF%BD%78"},
        {"lone low surrogate", std::u16string(1, char16_t(0xDE00)), "%EF%BF%BD"},
        {"nul byte", std::u16string(1, u'\0'), "%00"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(percentEscapeAll(utf8ForQuery(row.text)), row.escaped);
    }
}

TEST(QueryEscaping, StopsAtTheByteLimitWithoutSplittingACharacter) {
    EXPECT_EQ(utf8ForQuery(std::u16string(10000, u'a')).size(), 9999u);
    EXPECT_EQ(utf8ForQuery(std::u16string(9999, u'a')).size(), 9999u);
    // 3,333 characters of three bytes fill 9,999 exactly; one more does not fit.
    EXPECT_EQ(utf8ForQuery(std::u16string(3334, u'中')).size(), 9999u);
    const std::string mixed = utf8ForQuery(std::u16string(9998, u'a') + u"中b");
    EXPECT_EQ(mixed, std::string(9998, 'a'));
    const std::u16string astral = u"\U0001F600";
    std::u16string text(9996, u'a');
    for (int i = 0; i < 3; ++i) text += astral;
    EXPECT_EQ(utf8ForQuery(text).size(), 9996u);
    EXPECT_EQ(utf8ForQuery(u"中国", 4), "\xE4\xB8\xAD");
    EXPECT_EQ(utf8ForQuery(u"中", 0), "");
}

TEST(TranslationUrl, JoinsBasePathEscapedTextAndPair) {
    EXPECT_EQ(translationUrl("http://127.0.0.1:8080", u"A\t中", "zh-CN|en"),
              "http://127.0.0.1:8080/translate_t?text=%41%09%E4%B8%AD&langpair=zh-CN|en");
    EXPECT_EQ(translationUrl("http://translate.example/", u"hi", "en|ja"),
              "http://translate.example/translate_t?text=%68%69&langpair=en|ja");
    const std::string longest = translationUrl("http://h", std::u16string(20000, u'x'), "en|ja");
    EXPECT_EQ(longest.size(), std::string("http://h/translate_t?text=&langpair=en|ja").size() + 3 * 9999);
}

TEST(TranslationExtraction, TakesTheFirstTextareaContent) {
    struct Row {
        const char* name;
        std::u16string reply;
        std::u16string translation;
    };
    const Row rows[] = {
        {"plain", u"<html><textarea name=q>China</textarea></html>", u"China"},
        {"attributes and Chinese",
         u"<div><textarea id=source rows=5 dir=ltr>我爱你</textarea></div>", u"我爱你"},
        {"first of two", u"<textarea>Japan</textarea><textarea>second</textarea>", u"Japan"},
        {"up to the first closing tag", u"<textarea>a</textarea>b</textarea>", u"a"},
        {"multi-line content", u"<textarea>\r\nline one\nline two</textarea>", u"\r\nline one\nline two"},
        {"empty textarea", u"<p><textarea></textarea></p>", u""},
        {"no textarea", u"<html><body>Service unavailable</body></html>", u""},
        {"unclosed textarea", u"<textarea>never closed", u""},
        {"upper-case tag is not matched", u"<TEXTAREA>x</TEXTAREA>", u""},
        {"empty reply", u"", u""},
        {"closing tag before the opening one", u"</textarea><textarea>x", u""},
        {"stray closing tag first", u"</textarea><textarea rows=2>x</textarea>", u"x"},
        {"opening tag cut short by the closing one", u"<textarea</textarea>", u""},
        {"second opening tag inside the first", u"<textarea <textarea>y</textarea>", u"y"},
        // The reply is read whole: a NUL is a character like any other.
        {"NUL inside the translation", std::u16string(u"<textarea>a\0b</textarea>", 24), std::u16string(u"a\0b", 3)},
        {"NUL before the textarea", std::u16string(u"\0<textarea>c</textarea>", 23), u"c"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(extractTranslation(row.reply), row.translation);
    }
}

// A page cut off inside its textarea, or one that never closes it, must come back empty at once:
// the search may not try every '>' of the rest of the page against every later position.
TEST(TranslationExtraction, LargePageWithUnclosedTextareaGivesNothing) {
    std::u16string page = u"<html><textarea name=q>";
    while (page.size() < 512 * 1024) page += u"<b>中文</b><br>";
    EXPECT_EQ(extractTranslation(page), u"");
    page += u"</textarea>";
    EXPECT_EQ(extractTranslation(page).size(), page.size() - 23 - 11);
}

// The narrowed search must find exactly what the pattern finds over the whole reply.
TEST(TranslationExtraction, AgreesWithThePatternOverTheWholeReply) {
    const std::u16string pieces[] = {u"<textarea", u"</textarea>", u">", u"<", u"中", u"x", u" ", u"<textarea>"};
    CBraceRegExp pattern;
    pattern.compile(u"<textarea.*?>{.*?}<\\/textarea>", true);
    std::mt19937 random(20240607);
    for (int round = 0; round < 3000; ++round) {
        std::u16string reply;
        const int count = static_cast<int>(random() % 12);
        for (int i = 0; i < count; ++i) reply += pieces[random() % std::size(pieces)];
        CBraceMatch match(256);
        std::u16string expected;
        if (pattern.search(reply.c_str(), &match) && match.group(0).length() > 0)
            expected = std::u16string(match.group(0).in(reply.c_str()));
        SCOPED_TRACE(std::string(reply.begin(), reply.end()));
        ASSERT_EQ(extractTranslation(reply), expected);
    }
}

}  // namespace
}  // namespace pelux
