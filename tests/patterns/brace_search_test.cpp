#include <gtest/gtest.h>
#include <pthread.h>

#include <string>
#include <vector>

#include "patterns/brace_regexp.h"

namespace pelux {
namespace {

std::string narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

// A search row: the match and each group as text, nullptr for "no match" / "group unset".
struct SearchRow {
    const char16_t* pattern;
    const char16_t* text;
    const char16_t* match;
    std::vector<const char16_t*> groups;
    int matchStart = -1;  // checked when not -1
};

void checkRow(const SearchRow& row, bool caseSensitive) {
    SCOPED_TRACE(narrow(row.pattern) + " against " + narrow(row.text));
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(row.pattern, caseSensitive), BraceOk);
    CBraceMatch match(256);
    const char16_t* end = nullptr;
    const bool found = regexp.search(row.text, &match, &end);
    ASSERT_EQ(found, row.match != nullptr);
    if (!found) return;
    const std::u16string_view text(row.text);
    EXPECT_EQ(text.substr(match.matchStart(), match.matchEnd() - match.matchStart()), row.match);
    EXPECT_EQ(end, row.text + match.matchEnd());
    if (row.matchStart >= 0) {
        EXPECT_EQ(match.matchStart(), row.matchStart);
    }
    ASSERT_EQ(match.groupCount(), static_cast<int>(row.groups.size()));
    for (size_t i = 0; i < row.groups.size(); ++i) {
        SCOPED_TRACE("group " + std::to_string(i));
        const BraceSpan group = match.group(static_cast<int>(i));
        if (!row.groups[i]) {
            EXPECT_FALSE(group.isSet());
        } else {
            ASSERT_TRUE(group.isSet());
            EXPECT_EQ(group.in(row.text), row.groups[i]);
        }
    }
}

TEST(BraceSearch, CutsDictionaryLinesSyllablesAndRepliesIntoGroups) {
    const SearchRow rows[] = {
        {u"{.*?}\\b+\\[{.*?}\\]", u"ヽ [くりかえし] /(n) repetition mark in katakana/", u"ヽ [くりかえし]",
         {u"ヽ", u"くりかえし"}},
        {u"{.*?}((\\b)+\\[{.*?}\\])?{(\\b)+/.*}", u"ホットドッグ /(n) hot dog/", u"ホットドッグ /(n) hot dog/",
         {u"ホットドッグ", nullptr, u" /(n) hot dog/"}},
        {u"{.*?}((\\b)+\\[{.*?}\\])?{(\\b)+/.*}", u"日本 [にほん] /(n) Japan/", u"日本 [にほん] /(n) Japan/",
         {u"日本", u"にほん", u" /(n) Japan/"}},
        {u"{[^aeiouü]*?[aeiouü]?}{[aeiouü]}{[aeiouü]?[^aeiouü]*?[0-9]}", u"shian5", u"shian5", {u"shi", u"a", u"n5"}},
        {u"{[^aeiouü]*?[aeiouü]?}{[aeiouü]}{[aeiouü]?[^aeiouü]*?[0-9]}", u"lü4", u"lü4", {u"l", u"ü", u"4"}},
        {u"{[^aeiouü]*?[aeiouü]?}{[aeiouü]}{[aeiouü]?[^aeiouü]*?[0-9]}", u"zhuang1", u"zhuang1", {u"zhu", u"a", u"ng1"}},
        {u"{[^\\[]*\\[}{[^\\[]*}{\\].*}", u"中國 中国 [Zhong1 guo2] /China/", u"中國 中国 [Zhong1 guo2] /China/",
         {u"中國 中国 [", u"Zhong1 guo2", u"] /China/"}},
        {u"{(\\a|:)+}", u"ni3:hao3 /hello/", u"ni3:hao3", {u"ni3:hao3"}},
        {u"<textarea.*?>{.*?}<\\/textarea>", u"<p>x</p><textarea name=q>你好</textarea><textarea>b</textarea>",
         u"<textarea name=q>你好</textarea>", {u"你好"}},
    };
    for (const SearchRow& row : rows) checkRow(row, true);
}

TEST(BraceSearch, FollowsTheDialectsOwnPrecedenceAndPriorities) {
    const SearchRow rows[] = {
        {u"", u"日本語", u"", {}, 0},
        {u"", u"", u"", {}, 0},
        {u"ab|cd", u"abd", u"abd", {}},
        {u"ab|cd", u"acd", u"acd", {}},
        {u"ab|cd", u"ab", nullptr, {}},
        {u"(ab)|(cd)", u"xcd", u"cd", {}},
        {u"T|the", u"The end", u"The", {}},
        {u"T|the", u"see the", u"the", {}},
        {u"x||y", u"x|y", u"|y", {}, 1},
        {u"x||y", u"xy", u"xy", {}},
        {u"a|", u"b", u"", {}, 0},
        {u"<.*?>", u"<abc><def>", u"<abc>", {}},
        {u"<.*>", u"<abc><def>", u"<abc><def>", {}},
        {u"{.*}{\\d}", u"第12回", u"第12", {u"第1", u"2"}},
        {u"{.*?}{\\d}", u"第12回", u"第1", {u"第", u"1"}},
        {u"a!b", u"ab ac", u"a", {}, 3},
        {u"a!b", u"ab", nullptr, {}},
        {u"!x", u"xxy", u"", {}, 2},
        {u"*a", u"x*a", u"*a", {}},
        {u"a**", u"aaa*", u"aaa*", {}},
        {u"a^", u"a^", u"a^", {}},
        {u"^b", u"ab", nullptr, {}},
        {u"^a", u"ab", u"a", {}},
        {u"(ab)??c", u"abc", u"abc", {}, 0},
        {u"(ab)??c", u"xc", u"c", {}},
        {u"a.b", u"a\nb", u"a\nb", {}},
        {u"{a}+", u"aaa", u"aaa", {u"a"}},
        {u"{x}?y", u"y", u"y", {nullptr}},
        {u"{a}b", u"acab", u"ab", {u"a"}, 2},
        {u"{.}\\0", u"中文文字", u"文文", {u"文"}},
        {u"{a\\0}", u"a", u"a", {u"a"}},
        {u"{中|日}本", u"日本", u"日本", {u"日"}},
    };
    for (const SearchRow& row : rows) checkRow(row, true);
}

TEST(BraceSearch, EndOfTextIsOnlyMatchedByATrailingDollar) {
    const SearchRow rows[] = {
        {u"c$", u"abc", u"c", {}, 2},
        {u"b$", u"abc", nullptr, {}},
        {u"$", u"abc", nullptr, {}},
        {u"$", u"", u"", {}, 0},
        {u"x*$", u"abc", nullptr, {}},
        {u"漢字$", u"漢字と漢字", u"漢字", {}, 3},
        {u"a$b", u"a$b", u"a$b", {}},
        {u"a\\$", u"a$", u"a$", {}},
        {u"[$]", u"x$", u"$", {}},
    };
    for (const SearchRow& row : rows) checkRow(row, true);
}

TEST(BraceSearch, ExpandsAbbreviationsAndSetEscapes) {
    const SearchRow rows[] = {
        {u"\\b+", u"漢字 \t かな", u" \t ", {}},
        {u"[\\b]", u"a b", u"b", {}},
        {u"[\\t]", u"a\tb", u"\t", {}},
        {u"[\\]\\-]+", u"x-]-y", u"-]-", {}},
        {u"[-a-c]+", u"x-b-y", u"-b-", {}},
        {u"\\q", u"say 'hi' or \"yo\"", u"'hi'", {}},
        {u"\\q", u"say \"yo\" or 'hi'", u"\"yo\"", {}},
        {u"\\n", u"a\r\nb", u"\r", {}},
        {u"x\\n", u"x\nb", u"x\n", {}},
        {u"\\w", u"12 word", u"word", {}},
        {u"\\z\\c", u"v 2024y", u"2024y", {}},
        {u"\\h+", u"U+4E2D", u"4E2D", {}},
        {u"\\a+", u"中文abc123中文", u"abc123", {}},
        {u"{\\d+}", u"第42回", u"42", {u"42"}},
    };
    for (const SearchRow& row : rows) checkRow(row, true);
}

TEST(BraceSearch, CaseInsensitiveModeReportsOffsetsInTheCallersText) {
    const SearchRow rows[] = {
        {u"{ni}HAO", u"Say NIhao", u"NIhao", {u"NI"}, 4},
        {u"{a}\\0", u"xaA", u"aA", {u"a"}},
        {u"[A-C]+", u"xxAbC", u"AbC", {}},
        {u"TEXTAREA>{.*?}<", u"<TextArea>Hallo Welt</textarea>", u"TextArea>Hallo Welt<", {u"Hallo Welt"}},
        {u"é", u"É", nullptr, {}},
        {u"日本", u"日本", u"日本", {}},
    };
    for (const SearchRow& row : rows) checkRow(row, false);
}

TEST(BraceSearch, NegationAndLazyLoopsNeverLeaveStaleGroupsOrSpin) {
    const SearchRow rows[] = {
        // The inner {a} matched during a failed attempt; it must not be reported.
        {u"(!{a})?b", u"ab", u"b", {nullptr}, 1},
        {u"(!{a}b)|c", u"ac", u"c", {nullptr}, 1},
        {u"!{a}{.}", u"ab", u"b", {nullptr, u"b"}, 1},
        // Items that pass the empty-repeat check but consume nothing.
        {u"(!a)*?b", u"ccb", u"b", {}},
        {u"(!a)+?b", u"ccb", u"b", {}},
        {u"{}\\0*?x", u"yyx", u"x", {u""}},
        {u"{}\\0+x", u"yyx", u"x", {u""}},
    };
    for (const SearchRow& row : rows) checkRow(row, true);
}

TEST(BraceSearch, RefusesMissingArgumentsAndFailedPrograms) {
    CBraceRegExp never;
    CBraceMatch match;
    EXPECT_FALSE(never.search(u"abc", &match));
    CBraceRegExp broken;
    ASSERT_EQ(broken.compile(u"{abc"), BraceMissingBrace);
    EXPECT_FALSE(broken.search(u"abc", &match));
    CBraceRegExp good;
    ASSERT_EQ(good.compile(u"b"), BraceOk);
    EXPECT_FALSE(good.search(nullptr, &match));
    EXPECT_FALSE(good.search(u"abc", nullptr));
}

TEST(BraceSearch, EndPointerWalksThroughEveryMatchAndIsKeptOnFailure) {
    CBraceRegExp number;
    ASSERT_EQ(number.compile(u"{\\z}"), BraceOk);
    const std::u16string date = u"2024年12月7日";
    CBraceMatch match(256);
    std::vector<std::u16string> found;
    const char16_t* at = date.c_str();
    const char16_t* end = nullptr;
    while (number.search(at, &match, &end)) {
        found.emplace_back(match.group(0).in(at));
        ASSERT_GT(end, at);
        at = end;
    }
    EXPECT_EQ(found, (std::vector<std::u16string>{u"2024", u"12", u"7"}));
    EXPECT_EQ(end, date.c_str() + date.size() - 1);
    EXPECT_EQ(match.matchStart(), -1);
    EXPECT_FALSE(match.group(0).isSet());
}

TEST(BraceSearch, EachSearchOverwritesTheContext) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"{a}?{b}"), BraceOk);
    CBraceMatch match;
    ASSERT_TRUE(regexp.search(u"ab", &match));
    EXPECT_TRUE(match.group(0).isSet());
    ASSERT_TRUE(regexp.search(u"xb", &match));
    EXPECT_FALSE(match.group(0).isSet());
    EXPECT_EQ(match.group(1).start, 1);
}

std::u16string alternatingText(size_t length, char16_t last) {
    std::u16string text;
    for (size_t i = 0; i + 1 < length; ++i) text += i % 2 ? u'b' : u'a';
    return text + last;
}

struct LongSearch {
    const CBraceRegExp* regexp;
    const std::u16string* text;
    bool found = false;
    int32_t end = -1;
};

void* runLongSearch(void* argument) {
    auto* job = static_cast<LongSearch*>(argument);
    CBraceMatch match(256);
    job->found = job->regexp->search(job->text->c_str(), &match);
    job->end = match.matchEnd();
    return nullptr;
}

// Runs the search on a thread with a 64 KiB stack: any recursion per character would overflow it.
LongSearch searchOnSmallStack(const CBraceRegExp& regexp, const std::u16string& text) {
    LongSearch job{&regexp, &text};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    pthread_t thread;
    EXPECT_EQ(pthread_create(&thread, &attributes, runLongSearch, &job), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    return job;
}

TEST(BraceSearch, LongTextsBacktrackOnTheHeapNotTheNativeStack) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"(a|b)*c"), BraceOk);
    const std::u16string text = alternatingText(100000, u'c');
    const LongSearch found = searchOnSmallStack(regexp, text);
    EXPECT_TRUE(found.found);
    EXPECT_EQ(found.end, 100000);

    ASSERT_EQ(regexp.compile(u"^(a|b)*c"), BraceOk);
    const std::u16string without = alternatingText(100000, u'b');
    EXPECT_FALSE(searchOnSmallStack(regexp, without).found);
}

TEST(BraceSearch, ASearchThatOutgrowsItsStackLimitFailsAndTheContextStaysUsable) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"{(a|b)*}c"), BraceOk);
    const std::u16string text = alternatingText(10000, u'c');
    CBraceMatch match(0);
    match.setStackLimit(1000);
    const char16_t* end = nullptr;
    EXPECT_FALSE(regexp.search(text.c_str(), &match, &end));
    EXPECT_EQ(end, nullptr);
    EXPECT_FALSE(match.group(0).isSet());
    match.setStackLimit(CBraceMatch::kMaxStackEntries);
    ASSERT_TRUE(regexp.search(text.c_str(), &match, &end));
    EXPECT_EQ(match.group(0).end, 9999);
}

}  // namespace
}  // namespace pelux
