#include "lookup/english_lookup.h"

#include <gtest/gtest.h>

#include "adapters/platform_linux.h"
#include "support/store_builder.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

class EnglishLookup : public ::testing::Test {
protected:
    void SetUp() override { registerLinuxPlatform(); }
    CStoreBuilder build{Chinese};
};

TEST_F(EnglishLookup, NormalizesWhiteSpaceAndCase) {
    EXPECT_EQ(normalizeEnglishWord(u"  Dog\t\r\n"), u"dog");
    EXPECT_EQ(normalizeEnglishWord(u"\u00A0ÉCOLE\u3000"), u"école");
    EXPECT_EQ(normalizeEnglishWord(u" \t "), u"");
    EXPECT_EQ(normalizeEnglishWord(u"DON'T"), u"don't");
}

TEST_F(EnglishLookup, FindsTheWordItselfFirst) {
    const LineNumber dog = build.chinese(u"狗", u"狗", u"[gou3] /dog/", {u"dog"});
    const EnglishLookupResult result = lookupEnglishWord(testing::testEngine().store(), u"Dog ");
    EXPECT_EQ(result.label, u"dog");
    EXPECT_EQ(result.lines, LineList{dog});
}

TEST_F(EnglishLookup, IrregularFormsAndContractionsGetTheirLabels) {
    const LineNumber doLine = build.chinese(u"做", u"做", u"[zuo4] /to do/", {u"do"});
    const LineNumber letLine = build.chinese(u"讓", u"让", u"[rang4] /to let/", {u"let"});
    const LineNumber goLine = build.chinese(u"去", u"去", u"[qu4] /to go/", {u"go"});
    const LineNumber beLine = build.chinese(u"是", u"是", u"[shi4] /to be/", {u"be"});
    build.irregular(u"don't", u"do");
    build.irregular(u"let's", u"let");
    build.irregular(u"went", u"go");
    build.irregular(u"he'd", u"be");
    build.irregular(u"he'll", u"be");
    build.irregular(u"it's", u"be");
    build.irregular(u"we've", u"be");
    build.irregular(u"i'm", u"be");

    const struct {
        const char16_t* word;
        const char16_t* label;
        LineNumber line;
    } rows[] = {
        {u"don't", u"(do not)", doLine},      {u"Let's", u"(let us)", letLine},
        {u"went", u"[irregular] go", goLine}, {u"he'd", u"(be would)", beLine},
        {u"he'll", u"(be will)", beLine},     {u"it's", u"(be is)", beLine},
        {u"we've", u"(be have)", beLine},     {u"I'm", u"(be am)", beLine},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.word));
        const EnglishLookupResult result = lookupEnglishWord(testing::testEngine().store(), row.word);
        EXPECT_EQ(result.label, row.label);
        EXPECT_EQ(result.lines, LineList{row.line});
    }
}

TEST_F(EnglishLookup, CurlyApostropheIsNoContractionMarker) {
    const LineNumber doLine = build.chinese(u"做", u"做", u"[zuo4] /to do/", {u"do"});
    build.irregular(u"don\u2019t", u"do");
    const EnglishLookupResult result = lookupEnglishWord(testing::testEngine().store(), u"don\u2019t");
    EXPECT_EQ(result.label, u"[irregular] do");
    EXPECT_EQ(result.lines, LineList{doLine});
}

TEST_F(EnglishLookup, StemsThroughTheSuffixPatterns) {
    const LineNumber cat = build.chinese(u"貓", u"猫", u"[mao1] /cat/", {u"cat"});
    const LineNumber quick = build.chinese(u"快", u"快", u"[kuai4] /quick/", {u"quick"});
    const LineNumber run = build.chinese(u"跑", u"跑", u"[pao3] /to run/", {u"run"});
    const struct {
        const char16_t* word;
        const char16_t* label;
        LineList lines;
    } rows[] = {
        {u"cats", u"[root]cat", {cat}},
        {u"quickly", u"[root]quick", {quick}},
        {u"runs", u"[root]run", {run}},
        {u"running", u"running", {}},  // the stem is runn
        {u"zebra", u"zebra", {}},
        {u"", u"", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.word));
        const EnglishLookupResult result = lookupEnglishWord(testing::testEngine().store(), row.word);
        EXPECT_EQ(result.label, row.label);
        EXPECT_EQ(result.lines, row.lines);
    }
}

TEST_F(EnglishLookup, StemTableLeadsToAWordThatIsLookedUpAgain) {
    const LineNumber running = build.chinese(u"跑步", u"跑步", u"[pao3 bu4] /running/", {u"running"});
    build.stem(u"runn", u"running");
    EnglishLookupResult result = lookupEnglishWord(testing::testEngine().store(), u"runner");
    EXPECT_EQ(result.label, u"[root]running");
    EXPECT_EQ(result.lines, LineList{running});

    // A stem entry left by an earlier load whose word is no longer a key: label, but no lines.
    build.stem(u"walk", u"walked");
    result = lookupEnglishWord(testing::testEngine().store(), u"walks");
    EXPECT_EQ(result.label, u"[root]walked");
    EXPECT_TRUE(result.lines.empty());
}

TEST_F(EnglishLookup, WordWithoutIrregularFormNeverReachesTheEmptyKey) {
    CStoreBuilder japanese(Japanese);
    japanese.line(u" /(n) headword missing/\r\n", {u""});
    const EnglishLookupResult result = lookupEnglishWord(testing::testEngine().store(), u"xyzzy");
    EXPECT_EQ(result.label, u"xyzzy");
    EXPECT_TRUE(result.lines.empty());
}

TEST_F(EnglishLookup, JapaneseRepeatsAreKept) {
    CStoreBuilder japanese(Japanese);
    const LineNumber line = japanese.line(u"犬 [いぬ] /dog/dog/\r\n", {u"犬", u"いぬ", u"dog", u"dog"});
    EXPECT_EQ(lookupEnglishWord(testing::testEngine().store(), u"dog").lines, (LineList{line, line}));
}

}  // namespace
}  // namespace pelux
