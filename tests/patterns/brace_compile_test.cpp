#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "patterns/brace_regexp.h"

namespace pelux {
namespace {

using Op = BraceOp;

struct StatusRow {
    const char16_t* pattern;
    BraceStatus status;
};

std::string narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

TEST(BraceCompile, ReportsEveryStatusForItsCause) {
    const StatusRow rows[] = {
        {u"", BraceOk},
        {u"{[^\\[]*\\[}{[^\\[]*}{\\].*}", BraceOk},
        {u"{.*?}((\\b)+\\[{.*?}\\])?{(\\b)+/.*}", BraceOk},
        {u"{ab", BraceMissingBrace},
        {u"{a)b}", BraceMissingBrace},
        {u"{(a}", BraceMissingParen},
        {u"(ab", BraceMissingParen},
        {u"(a]b)", BraceMissingParen},
        {u"[abc", BraceMissingBracket},
        {u"[a-]", BraceMissingBracket},
        {u"[a-", BraceMissingBracket},
        {u"[ab-]", BraceMissingBracket},
        // A dash is the character itself only first in the set; before "]" anywhere else it
        // is an unfinished range.
        {u"[-]", BraceOk},
        {u"[^-]", BraceOk},
        {u"[-a]", BraceOk},
        {u"[a-z-]", BraceMissingBracket},
        {u"[^a-z-]", BraceMissingBracket},
        {u"[a-z-x]", BraceOk},
        {u"[\\-]", BraceOk},
        {u"[^", BraceMissingBracket},
        {u"[]", BraceEmptyClass},
        {u"[^]", BraceEmptyClass},
        {u"[]a]", BraceEmptyClass},
        {u"[z-a]", BraceBadRange},
        {u"[\u9fa5-\u4e00]", BraceBadRange},
        {u"{a}\\1", BraceBadBackref},
        {u"\\0", BraceBadBackref},
        {u"{a\\0}", BraceOk},
        {u"{a}\\0", BraceOk},
        {u"{a}\\00000000000000000000001", BraceBadBackref},
        {u"(a*)*", BraceEmptyRepeat},
        {u"(a?)+", BraceEmptyRepeat},
        {u"{}*?", BraceEmptyRepeat},
        {u"(a|b*)+?", BraceEmptyRepeat},
        {u"(a*)?", BraceOk},
        {u"(a*)??", BraceOk},
        {u"(a*b)*", BraceOk},
        {u"(!a)*", BraceOk},
    };
    for (const StatusRow& row : rows) {
        SCOPED_TRACE(narrow(row.pattern));
        CBraceRegExp regexp;
        EXPECT_EQ(regexp.compile(row.pattern), row.status);
        EXPECT_EQ(regexp.status(), row.status);
    }
}

TEST(BraceCompile, NullPatternKeepsThePreviousProgram) {
    CBraceRegExp regexp;
    EXPECT_EQ(regexp.compile(nullptr), BraceNoPattern);
    ASSERT_EQ(regexp.compile(u"{中}"), BraceOk);
    const auto program = regexp.program();
    EXPECT_EQ(regexp.compile(nullptr), BraceNoPattern);
    EXPECT_EQ(regexp.groupCount(), 1);
    EXPECT_EQ(regexp.program().size(), program.size());
}

TEST(BraceCompile, RecompilingReplacesProgramAndCounts) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"{a}{b}{c}"), BraceOk);
    EXPECT_EQ(regexp.groupCount(), 3);
    ASSERT_EQ(regexp.compile(u"x"), BraceOk);
    EXPECT_EQ(regexp.groupCount(), 0);
    EXPECT_EQ(regexp.program().size(), 4u);
    CBraceMatch match;
    EXPECT_TRUE(regexp.search(u"yx", &match));
    EXPECT_EQ(match.groupCount(), 0);
}

TEST(BraceCompile, UnmatchedCloserAtTopLevelEndsThePatternQuietly) {
    for (const char16_t* pattern : {u"a)b", u"a]b", u"a}b"}) {
        SCOPED_TRACE(narrow(pattern));
        CBraceRegExp regexp;
        ASSERT_EQ(regexp.compile(pattern), BraceOk);
        CBraceMatch match;
        ASSERT_TRUE(regexp.search(u"xab", &match));
        EXPECT_EQ(match.matchStart(), 1);
        EXPECT_EQ(match.matchEnd(), 2);
    }
}

std::vector<BraceInstruction> body(const CBraceRegExp& regexp) {
    const auto& program = regexp.program();
    // Strip the frame: opCall 2, opNextStart / opGiveUp ... opAccept.
    return std::vector<BraceInstruction>(program.begin() + 2, program.end() - 1);
}

void expectProgram(const std::vector<BraceInstruction>& actual,
                   const std::vector<std::pair<Op, int32_t>>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("instruction " + std::to_string(i));
        EXPECT_EQ(actual[i].kind, expected[i].first);
        EXPECT_EQ(actual[i].operand, expected[i].second);
    }
}

TEST(BraceCompile, FramesThePatternWithNextStartOrGiveUpForAnAnchor) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"a"), BraceOk);
    expectProgram(regexp.program(), {{Op::opCall, 2}, {Op::opNextStart, 0}, {Op::opChar, u'a'}, {Op::opAccept, 0}});
    ASSERT_EQ(regexp.compile(u"^a"), BraceOk);
    expectProgram(regexp.program(), {{Op::opCall, 2}, {Op::opGiveUp, 0}, {Op::opChar, u'a'}, {Op::opAccept, 0}});
}

TEST(BraceCompile, EmitsTheTemplatesOfGroupsSetsAndQuantifiers) {
    CBraceRegExp regexp;
    // Indices in the listings below are absolute: the body starts at 2.
    ASSERT_EQ(regexp.compile(u"{a}"), BraceOk);
    expectProgram(body(regexp), {{Op::opSaveGroup, 0}, {Op::opGroupStart, 0}, {Op::opCall, 7},
                                 {Op::opRestoreGroup, 0}, {Op::opReturn, 0}, {Op::opChar, u'a'}, {Op::opGroupEnd, 0}});
    ASSERT_EQ(regexp.compile(u"()"), BraceOk);
    expectProgram(body(regexp), {{Op::opCall, 4}, {Op::opReturn, 0}, {Op::opNop, 0}});
    ASSERT_EQ(regexp.compile(u"[^a-c\\]]"), BraceOk);
    expectProgram(body(regexp), {{Op::opNotInSet, 7}, {Op::opNop, u'a'}, {Op::opNop, u'c'}, {Op::opNop, u']'},
                                 {Op::opNop, u']'}});
    ASSERT_EQ(regexp.compile(u"a*"), BraceOk);
    expectProgram(body(regexp), {{Op::opPushSlot, 0}, {Op::opStorePos, 0}, {Op::opPushPos, 0}, {Op::opCall, 9},
                                 {Op::opPopPos, 0}, {Op::opPopSlot, 0}, {Op::opJump, 12}, {Op::opChar, u'a'},
                                 {Op::opCutIfNoProgress, 0}, {Op::opJump, 2}});
    ASSERT_EQ(regexp.compile(u"a?"), BraceOk);
    EXPECT_EQ(body(regexp).size(), 9u);
    EXPECT_EQ(body(regexp)[6].operand, 11);
    ASSERT_EQ(regexp.compile(u"a*?"), BraceOk);
    expectProgram(body(regexp), {{Op::opPushPos, 0}, {Op::opCall, 7}, {Op::opPopPos, 0}, {Op::opChar, u'a'},
                                 {Op::opJump, 2}});
    ASSERT_EQ(regexp.compile(u"a??"), BraceOk);
    expectProgram(body(regexp), {{Op::opPushPos, 0}, {Op::opCall, 6}, {Op::opPopPos, 0}, {Op::opChar, u'a'}});
    ASSERT_EQ(regexp.compile(u"a|b"), BraceOk);
    expectProgram(body(regexp), {{Op::opPushPos, 0}, {Op::opCall, 6}, {Op::opPopPos, 0}, {Op::opJump, 8},
                                 {Op::opChar, u'a'}, {Op::opJump, 9}, {Op::opChar, u'b'}});
    ASSERT_EQ(regexp.compile(u"!a"), BraceOk);
    expectProgram(body(regexp), {{Op::opStorePos, 0}, {Op::opStoreDepth, 1}, {Op::opCall, 8}, {Op::opLoadPos, 0},
                                 {Op::opLoadDepth, 1}, {Op::opJump, 12}, {Op::opChar, u'a'}, {Op::opLoadPos, 0},
                                 {Op::opLoadDepth, 1}, {Op::opReturn, 0}});
    ASSERT_EQ(regexp.compile(u"c$"), BraceOk);
    expectProgram(body(regexp), {{Op::opChar, u'c'}, {Op::opChar, 0}});
}

TEST(BraceCompile, PlusKeepsGroupNumbersAndTakesFreshSlots) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"{(a)*b}+"), BraceOk);
    EXPECT_EQ(regexp.groupCount(), 1);
    // One slot for the inner star in each copy, one for the outer loop.
    EXPECT_EQ(regexp.slotCount(), 3);
    ASSERT_EQ(regexp.compile(u"{a}*{b}"), BraceOk);
    EXPECT_EQ(regexp.groupCount(), 2);
    CBraceMatch match;
    ASSERT_TRUE(regexp.search(u"aab", &match));
    EXPECT_EQ(match.group(0).start, 1);
    EXPECT_EQ(match.group(1).start, 2);
}

TEST(BraceCompile, AbbreviationsCompileAsOneQuantifiableItem) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"\\z+"), BraceOk);
    CBraceMatch match;
    ASSERT_TRUE(regexp.search(u"abc 2024 年", &match));
    EXPECT_EQ(match.matchStart(), 4);
    EXPECT_EQ(match.matchEnd(), 8);
    // Escapes other than abbreviation letters are the character itself: \t is the letter t.
    ASSERT_EQ(regexp.compile(u"\\t\\r\\x"), BraceOk);
    EXPECT_TRUE(regexp.search(u"trx", &match));
    EXPECT_FALSE(regexp.search(u"\t\rx", &match));
}

TEST(BraceCompile, LoneTrailingBackslashIsALiteralOutsideSetsAndUnclosedInside) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"a\\"), BraceOk);
    CBraceMatch match;
    EXPECT_TRUE(regexp.search(u"xa\\", &match));
    EXPECT_EQ(match.matchStart(), 1);
    EXPECT_EQ(match.matchEnd(), 3);
    EXPECT_FALSE(regexp.search(u"a", &match));
    EXPECT_EQ(regexp.compile(u"[a\\"), BraceMissingBracket);
    EXPECT_EQ(regexp.compile(u"[\\"), BraceMissingBracket);
    // The high end of a range takes no escape, so this backslash ends the range and the set
    // is still open.
    EXPECT_EQ(regexp.compile(u"[!-\\"), BraceMissingBracket);
}

TEST(BraceCompile, HostilePatternsFailWithAStatusInsteadOfExhaustingTheMachine) {
    CBraceRegExp regexp;
    EXPECT_EQ(regexp.compile((std::u16string(100000, u'(') + std::u16string(100000, u')')).c_str()),
              BraceOutOfMemory);
    EXPECT_EQ(regexp.compile(std::u16string(100000, u'!').c_str()), BraceOutOfMemory);
    std::u16string doubling = u"a";
    for (int i = 0; i < 40; ++i) doubling = u"(" + doubling + u")+";
    EXPECT_EQ(regexp.compile(doubling.c_str()), BraceOutOfMemory);
    CBraceMatch match;
    EXPECT_FALSE(regexp.search(u"aaa", &match));
    // Long flat patterns are fine: alternations and sequences do not nest the compiler.
    std::u16string choices = u"x";
    for (int i = 0; i < 20000; ++i) choices += u"|x";
    EXPECT_EQ(regexp.compile((choices + u"y").c_str()), BraceOk);
    EXPECT_TRUE(regexp.search(u"xy", &match));
}

TEST(BraceCompile, CaseInsensitiveCompileLowersThePatternItself) {
    CBraceRegExp regexp;
    // Lowering turns [Z-a] into [z-a].
    EXPECT_EQ(regexp.compile(u"[Z-a]", false), BraceBadRange);
    EXPECT_EQ(regexp.compile(u"[Z-a]", true), BraceOk);
}

TEST(BraceCompile, DumpListsEveryInstruction) {
    CBraceRegExp regexp;
    ASSERT_EQ(regexp.compile(u"{a|中}\\0"), BraceOk);
    const std::string listing = regexp.dump();
    EXPECT_NE(listing.find("status 0 (BraceOk), 1 groups"), std::string::npos);
    EXPECT_NE(listing.find("opSaveGroup        group 0"), std::string::npos);
    EXPECT_NE(listing.find("opChar             'a' U+0061"), std::string::npos);
    EXPECT_NE(listing.find("opChar             U+4E2D"), std::string::npos);
    EXPECT_NE(listing.find("opBackref          group 0"), std::string::npos);
    size_t lines = 0;
    for (char c : listing) lines += c == '\n';
    EXPECT_EQ(lines, regexp.program().size() + 1);
    EXPECT_STREQ(braceStatusName(BraceEmptyRepeat), "BraceEmptyRepeat");
}

}  // namespace
}  // namespace pelux
