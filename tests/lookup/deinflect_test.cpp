#include "lookup/deinflect.h"

#include <gtest/gtest.h>

#include "browser/pointer_road.h"
#include "lookup/deinflect_choice.h"
#include "support/store_builder.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

using namespace word_class;

TEST(WordClassesOfLine, ReadsEveryTagOfEveryParenthesisedGroupAfterTheHeadword) {
    const struct {
        const char16_t* line;
        WordClassMask classes;
    } rows[] = {
        {u"食べる [たべる] /(v1,vt) (1) to eat/(v1,vt) (2) to live on/(P)/\r\n", kIchidan},
        {u"為る [する] /(oK) (vs-i) (1) (uk) to do/", kSuru},
        {u"行く [いく] /(v5k-s,vi) to go/(aux-v) (7) to continue/", kGodanIku},
        {u"来る [きたる] /(adj-pn) (1) next/(v5r,vi) (2) to come/", kGodanR},
        {u"高い [たかい] /(adj-i) high/(adj-i) profitable (deal, business offer, etc.)/", kAdjectiveI},
        {u"勉強 [べんきょう] /(n,vs) study/", kSuruNoun},
        {u"全て [すべて] /(n,adj-no) everything/", 0},
        {u"(v1) /(n) a headword in parentheses/", 0},
        {u"壊れた /(v5k", 0},
        {u"no definitions (v1)", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.line));
        EXPECT_EQ(wordClassesOfLine(row.line), row.classes);
    }
}

bool proposes(std::u16string_view inflected, std::u16string_view word, std::u16string_view chain) {
    for (const DeinflectCandidate& candidate : deinflect(inflected)) {
        if (candidate.word == word && formName(candidate) == chain) return true;
    }
    return false;
}

TEST(Deinflect, FollowsChainsUpToTheDepthBound) {
    EXPECT_TRUE(proposes(u"行かせられませんでした", u"行く", u"causative passive polite negative past"));
    EXPECT_TRUE(proposes(u"食べさせたくなかった", u"食べる", u"causative desire negative past"));
    // Five forms deep is past the bound.
    EXPECT_TRUE(proposes(u"食べさせられていたくなかった", u"食べさせられる", u"progressive desire negative past"));
    EXPECT_FALSE(proposes(u"食べさせられていたくなかった", u"食べる",
                          u"causative passive progressive desire negative past"));
    EXPECT_TRUE(deinflect(u"").empty());
    EXPECT_TRUE(deinflect(u"食べ物").empty()) << "a word that does not end in hiragana has no conjugated ending";
}

TEST(Deinflect, NeverProposesASingleKanaOrTheWordItself) {
    for (const char16_t* text : {u"ました", u"ない", u"た", u"ませんでした"}) {
        SCOPED_TRACE(traceOf(text));
        for (const DeinflectCandidate& candidate : deinflect(text)) {
            EXPECT_GE(candidate.word.size(), 2u) << traceOf(candidate.word);
            EXPECT_NE(candidate.word, text);
        }
    }
}

TEST(Deinflect, HostileTextStaysBounded) {
    std::u16string endless;
    for (int i = 0; i < 2000; ++i) endless += u"させられ";
    EXPECT_LE(deinflect(endless).size(), 96u);
    CStoreBuilder build(Japanese);
    build.line(u"食べる [たべる] /(v1) to eat/", {u"食べる"});
    EXPECT_FALSE(findDeinflectedWord(testing::testEngine().store(), u"食べ" + endless, 0).has_value());
}

class DeinflectedDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        build.line(u"食 [しょく] /(n) food/\r\n", {u"食", u"しょく"});
        build.line(u"食べる [たべる] /(v1) to eat/\r\n", {u"食べる", u"たべる"});
        build.line(u"来る [きたる] /(adj-pn) next/\r\n", {u"来る", u"きたる"});
        build.line(u"来る [くる] /(vk) to come/\r\n", {u"来る", u"くる"});
        build.line(u"着る [きる] /(v1) to wear/\r\n", {u"着る", u"きる"});
        build.charInfo(u'食', u"{eat}");
        reader.deinflect = true;
    }

    DisplayText pointAt(std::u16string text, bool subWords, const ReaderOptions& options) {
        return translateCapturedText(testing::testEngine().store(), captureFromText(std::move(text)), subWords, options);
    }

    CStoreBuilder build{Japanese};
    ReaderOptions reader;
};

TEST_F(DeinflectedDisplay, WithAllEntriesShowsTheDictionaryFormsEntries) {
    ReaderOptions all = reader;
    all.allEntries = true;
    const DisplayText display = pointAt(u"食べました。", false, all);
    EXPECT_EQ(display.tooltipText, u"食べました ← 食べる (polite past)\r\n食べる [たべる ta·be·ru] /(v1) to eat/")
        << traceOf(display.tooltipText);
}

TEST_F(DeinflectedDisplay, NamesTheFormAboveTheEntryInBandAndTooltip) {
    const DisplayText display = pointAt(u"食べました。", true, reader);
    EXPECT_EQ(display.bandText,
              u"食べました ← 食べる (polite past)\r\n"
              u"(Phrase) 食べる [たべる ta·be·ru] /(v1) to eat/\r\n\r\n"
              u"\t食 {eat}\r\n"
              u"(食 = 0x98DF) {eat}")
        << traceOf(display.bandText);
    EXPECT_EQ(display.tooltipText, u"食べました ← 食べる (polite past)\r\n食べる [たべる ta·be·ru] /(v1) to eat/\r\n");

    const DisplayText plain = pointAt(u"食べました。", true, {});
    EXPECT_EQ(plain.bandText.find(u"←"), std::u16string::npos) << "off by default";
    EXPECT_EQ(plain.tooltipText, u"食 [しょく shi·yo·ku] /(n) food/\r\n") << traceOf(plain.tooltipText);
}

TEST_F(DeinflectedDisplay, ShowsTheFirstLineWhosePartOfSpeechFits) {
    const DisplayText display = pointAt(u"来ました", false, reader);
    EXPECT_EQ(display.tooltipText, u"来ました ← 来る (polite past)\r\n来る [くる ku·ru] /(vk) to come/\r\n")
        << traceOf(display.tooltipText);
}

TEST_F(DeinflectedDisplay, ACandidateOfTheWrongClassDoesNotCount) {
    // 着って would be the te-form of a godan 着る; the dictionary has only the ichidan one.
    DictionaryLock lock(testing::testEngine().store().mutex());
    EXPECT_FALSE(findDeinflectedWord(testing::testEngine().store(), u"着って", 0).has_value());
    EXPECT_TRUE(findDeinflectedWord(testing::testEngine().store(), u"着て", 0).has_value());
}

}  // namespace
}  // namespace pelux
