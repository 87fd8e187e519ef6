#include "adapters/pcre2_pattern.h"

#include <gtest/gtest.h>

#include "adapters/platform_linux.h"
#include "support/perl_pattern_contract.h"

namespace pelux {
namespace {

using contract::PerlPatternContract;
INSTANTIATE_TEST_SUITE_P(Pcre2, PerlPatternContract, ::testing::Values(&createPcre2Pattern));

TEST(Pcre2Pattern, RegisteredFactoryMakesPcre2Objects) {
    registerLinuxPlatform();
    std::unique_ptr<IPerlPattern> pattern = createPerlPattern(u"(.+[^aeiou])(ly)$", false);
    const std::vector<PerlMatch>& matches = pattern->execute(u"quickly");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_TRUE(matches[0].subMatches[0] == u"quick");
}

TEST(Pcre2Pattern, CompileErrorCarriesThePcre2Status) {
    std::unique_ptr<IPerlPattern> pattern = createPcre2Pattern();
    try {
        pattern->setPattern(u"a)");
        FAIL() << "no CPatternError";
    } catch (const CPatternError& error) {
        EXPECT_GT(error.status(), 0);  // compile errors are positive in PCRE2
    }
}

TEST(Pcre2Pattern, LongLinesDoNotExhaustTheMatcher) {
    // The kanji pattern backtracks over the whole line; a line of many thousand characters
    // without the brace it wants must simply not match.
    std::unique_ptr<IPerlPattern> pattern = createPcre2Pattern();
    pattern->setPattern(u".*U(....).*?(\\{.*)");
    std::u16string line(20000, u'U');
    try {
        EXPECT_TRUE(pattern->execute(line).empty());
    } catch (const CPatternError& error) {
        // Giving up is acceptable too, as long as it is reported as a pattern failure.
        EXPECT_LT(error.status(), 0);
    }
}

// Runs of half a million code units, ten times what the JIT's stack once held: every definition
// of a 2 MB line is found, the long ones and those after them.
TEST(Pcre2Pattern, MegabyteRunsFindEveryMatch) {
    std::unique_ptr<IPerlPattern> pattern = createPcre2Pattern();
    pattern->setGlobal(true);
    const std::u16string run(size_t(1) << 19, u'x');
    const std::u16string line = u"a/" + run + u"/b/" + run + u"/c";
    const size_t n = run.size();
    const struct {
        const char16_t* pattern;
        std::vector<size_t> lengths;
    } rows[] = {
        {u"([^/])+", {1, n, 1, n, 1}},
        {u"/(.+?)(?=/)", {n + 1, 2, n + 1}},
    };
    for (const auto& row : rows) {
        pattern->setPattern(row.pattern);
        std::vector<size_t> lengths;
        for (const PerlMatch& match : pattern->execute(line)) lengths.push_back(match.value.size());
        EXPECT_EQ(lengths, row.lengths);
    }
}

}  // namespace
}  // namespace pelux
