// The step budget: searches that backtrack exponentially end, and the system's own patterns never
// come near it on lines of a million code units.
#include <gtest/gtest.h>

#include <string>

#include "patterns/brace_regexp.h"

namespace pelux {
namespace {

TEST(BraceBudget, ExponentialBacktrackingSpendsTheBudgetAndFails) {
    const struct {
        const char16_t* pattern;
        std::u16string text;
    } rows[] = {
        {u"(a+)+b", std::u16string(28, u'a')},
        {u"{(\\wa)*b}", std::u16string(40, u'a') + u"+"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.pattern, row.pattern + std::char_traits<char16_t>::length(row.pattern)));
        CBraceRegExp regexp;
        ASSERT_EQ(regexp.compile(row.pattern), BraceOk);
        CBraceMatch match(256);
        EXPECT_FALSE(regexp.search(row.text.c_str(), &match));
        EXPECT_TRUE(match.budgetSpent());
        EXPECT_EQ(match.matchStart(), -1);
        // The next search starts with a whole budget again.
        EXPECT_TRUE(regexp.search((row.text.substr(0, 4) + u"ab").c_str(), &match));
        EXPECT_FALSE(match.budgetSpent());
    }
}

TEST(BraceBudget, SystemPatternsStayWithinItOnMillionUnitLines) {
    const std::u16string filler(size_t(1) << 20, u'x');
    const struct {
        const char16_t* pattern;
        std::u16string text;
    } rows[] = {
        {u"<textarea.*?>{.*?}<\\/textarea>", u"<textarea name=t>" + filler + u"</textarea>"},
        {u"{[^\\[]*\\[}{[^\\[]*}{\\].*}", u"\u4E2D \u4E2D [zhong1] /" + filler + u"/"},
        {u"{.*?}((\\b)+\\[{.*?}\\])?{(\\b)+/.*}", filler + u" [x] /x/\r\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.pattern, row.pattern + std::char_traits<char16_t>::length(row.pattern)));
        CBraceRegExp regexp;
        ASSERT_EQ(regexp.compile(row.pattern), BraceOk);
        CBraceMatch match(256);
        EXPECT_TRUE(regexp.search(row.text.c_str(), &match));
        EXPECT_FALSE(match.budgetSpent());
    }
}

}  // namespace
}  // namespace pelux
