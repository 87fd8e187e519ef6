#include "lookup/composition.h"

#include <gtest/gtest.h>

#include "support/store_builder.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

TEST(RenderJapaneseLine, InsertsRomanizationOfReadingOrHeadword) {
    CStoreBuilder build(Japanese);
    const struct {
        const char16_t* line;
        const char16_t* rendered;
    } rows[] = {
        {u"日本 [にほん] /Japan/", u"日本 [にほん ni·ho·n] /Japan/"},
        {u"日本 [にほん] /Japan/\r\n", u"日本 [にほん ni·ho·n] /Japan/\r\n"},
        {u"ホットドッグ /(n) hot dog/", u"ホットドッグ [ho··to·do··gu] /(n) hot dog/"},
        {u"日本 /Japan/", u"日本 [·] /Japan/"},
        {u"ヽ [くりかえし] /(n) repetition mark in katakana/", u"ヽ [くりかえし ku·ri·ka·e·shi] /(n) repetition mark in katakana/"},
        {u"no slash after blanks", u"no slash after blanks"},
        {u"語\t[ご]\t/word/", u"語 [ご go]\t/word/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.line));
        EXPECT_EQ(renderJapaneseLine(row.line), row.rendered);
    }
}

TEST(RenderEntry, FollowsTheStoreLanguageAndIgnoresMissingLines) {
    CStoreBuilder chinese(Chinese);
    const LineNumber line = chinese.line(u"傳統 传统 [chuan2 tong3] /tradition/\r", {u"传统"});
    EXPECT_EQ(renderEntry(testing::testEngine().store(), line), u"傳統 传统 [chuán tŏng] /tradition/\r");
    EXPECT_EQ(renderEntry(testing::testEngine().store(), 999), u"");

    CStoreBuilder japanese(Japanese);
    const LineNumber jline = japanese.line(u"日本 [にほん] /Japan/\r\n", {u"日本"});
    EXPECT_EQ(renderEntry(testing::testEngine().store(), jline), u"日本 [にほん ni·ho·n] /Japan/\r\n");
}

class ChineseComposition : public ::testing::Test {
protected:
    CStoreBuilder build{Chinese};
    void SetUp() override {
        build.chinese(u"中國人", u"中国人", u"[zhong1 guo2 ren2] /Chinese person/");
        build.chinese(u"中", u"中", u"[zhong1] /middle/");
        build.chinese(u"國", u"国", u"[guo2] /country/");
        build.chinese(u"人", u"人", u"[ren2] /person/");
        build.charInfo(u'中', u" [M: zhong1 C: zung1] middle");
    }
};

TEST_F(ChineseComposition, PhraseWithSubWordLines) {
    const DisplayText display = composeCjkText(testing::testEngine().store(), lookupCjkText(testing::testEngine().store(), u"中国人很多", u'中', true), true);
    EXPECT_EQ(display.bandText,
              u"(Phrase) 中國人 中国人 [zhōng guó rén] /Chinese person/\r\r\n"
              u"\t中 中 [zhōng] /middle/\r\r\n"
              u"\t國 国 [guó] /country/\r\r\n"
              u"\t人 人 [rén] /person/\r\r\n"
              u"(中 = 0x4E2D)  [M: zhong1 C: zung1] middle");
    EXPECT_EQ(display.tooltipText, u"中國人 中国人 [zhōng guó rén] /Chinese person/\r");
}

TEST_F(ChineseComposition, PhraseWithoutSubWordLines) {
    const DisplayText display = composeCjkText(testing::testEngine().store(), lookupCjkText(testing::testEngine().store(), u"中国人", u'中', false), false);
    EXPECT_EQ(display.bandText,
              u"中國人 中国人 [zhōng guó rén] /Chinese person/\r\r\n(中 = 0x4E2D)  [M: zhong1 C: zung1] middle");
}

TEST_F(ChineseComposition, OneCharacterWordHasNoPhrasePrefix) {
    const DisplayText display = composeCjkText(testing::testEngine().store(), lookupCjkText(testing::testEngine().store(), u"人很", u'人', true), true);
    EXPECT_EQ(display.bandText, u"人 人 [rén] /person/\r\r\n(人 = 0x4EBA) ");
}

TEST_F(ChineseComposition, NoWordGivesHeaderInBothTexts) {
    const DisplayText display = composeCjkText(testing::testEngine().store(), lookupCjkText(testing::testEngine().store(), u"很多", u'很', true), true);
    EXPECT_EQ(display.bandText, u"(很 = 0x5F88) ");
    EXPECT_EQ(display.tooltipText, u"(很 = 0x5F88) ");
}

TEST(JapaneseComposition, KanaHeaderCarriesRomajiAndSubWordsCarryInfo) {
    CStoreBuilder build(Japanese);
    build.line(u"日本 [にほん] /Japan/\r\n", {u"日本", u"にほん"});
    build.charInfo(u'日', u"{day}");
    build.charInfo(u'本', u"{book}");

    DisplayText display = composeCjkText(testing::testEngine().store(), lookupCjkText(testing::testEngine().store(), u"かな", u'か', true), true);
    EXPECT_EQ(display.bandText, u"(か = 0x304B [ka]) ");

    display = composeCjkText(testing::testEngine().store(), lookupCjkText(testing::testEngine().store(), u"日本語", u'日', true), true);
    EXPECT_EQ(display.bandText,
              u"(Phrase) 日本 [にほん ni·ho·n] /Japan/\r\n\r\n\t日 {day}\r\n\t本 {book}\r\n(日 = 0x65E5) {day}");
    EXPECT_EQ(display.tooltipText, u"日本 [にほん ni·ho·n] /Japan/\r\n");
}

TEST(EnglishComposition, LabelThenEachLineWithTooltipOfHeads) {
    CStoreBuilder build(Chinese);
    EnglishLookupResult result;
    result.label = u"dog";
    result.lines = {build.chinese(u"狗", u"狗", u"[gou3] /dog/"), build.chinese(u"犬", u"犬", u"[quan3] /dog/")};
    const DisplayText display = composeEnglishText(testing::testEngine().store(), result, true);
    EXPECT_EQ(display.bandText, u"dog: 狗 狗 [goŭ] /dog/\r\r\n: 犬 犬 [quăn] /dog/\r\r\n");
    EXPECT_EQ(display.tooltipText, u"狗 狗 [goŭ] 犬 犬 [quăn] ");

    result.lines.clear();
    EXPECT_EQ(composeEnglishText(testing::testEngine().store(), result, true).bandText, u"dog");
    EXPECT_EQ(composeEnglishText(testing::testEngine().store(), result, true).tooltipText, u"");
}

TEST(EnglishComposition, ChineseSubWordLinesPairTraditionalAndSimplified) {
    CStoreBuilder build(Chinese);
    build.chinese(u"傳", u"传", u"[chuan2] /to pass on/");
    build.chinese(u"統", u"统", u"[tong3] /to unite/");
    EnglishLookupResult result;
    result.label = u"tradition";
    result.lines = {build.chinese(u"傳統", u"传统", u"[chuan2 tong3] /tradition/")};
    EXPECT_EQ(composeEnglishText(testing::testEngine().store(), result, true).bandText,
              u"tradition: 傳統 传统 [chuán tŏng] /tradition/\r"
              u"\r\n\t[傳,传]= /to pass on/\r"
              u"\r\n\t[統,统]= /to unite/\r\r\n");
    EXPECT_EQ(composeEnglishText(testing::testEngine().store(), result, false).bandText, u"tradition: 傳統 传统 [chuán tŏng] /tradition/\r\r\n");
}

TEST(EnglishComposition, JapaneseSubWordLinesCarryCharacterInfo) {
    CStoreBuilder build(Japanese);
    build.charInfo(u'日', u"{day}");
    EnglishLookupResult result;
    result.label = u"japan";
    result.lines = {build.line(u"日本 [にほん] /Japan/\r\n", {u"japan"})};
    EXPECT_EQ(composeEnglishText(testing::testEngine().store(), result, true).bandText, u"japan: 日本 [にほん ni·ho·n] /Japan/\r\n\r\n\t日 {day}\r\n");
}

TEST(EnglishComposition, MalformedLinesNeverReadPastTheirEnd) {
    CStoreBuilder build(Chinese);
    build.chinese(u"甲", u"甲", u"no slash");
    build.chinese(u"乙", u"乙", u"[yi3] /second/");
    EnglishLookupResult result;
    result.label = u"x";
    // Traditional form longer than the simplified one: the pairing runs out of characters.
    result.lines = {build.line(u"甲乙 x", {u"x"})};
    EXPECT_EQ(composeEnglishText(testing::testEngine().store(), result, true).bandText, u"x: 甲乙 x\r\n\t[甲,x]= \r\n\t[乙,]= /second/\r\r\n");
}

}  // namespace
}  // namespace pelux

namespace pelux {
namespace {

TEST(Composition, PiecesLongerThanAThousandCharactersAreKeptWhole) {
    CStoreBuilder build(Japanese);
    const std::u16string info = u"{" + std::u16string(1500, u'x') + u"}";
    build.charInfo(u'日', info);
    build.line(u"日本 [にほん] /Japan/\r\n", {u"日本"});
    const DisplayText display = composeCjkText(testing::testEngine().store(), lookupCjkText(testing::testEngine().store(), u"日本", u'日', true), true);
    EXPECT_NE(display.bandText.find(u"\t日 " + info + u"\r\n"), std::u16string::npos);
    const std::u16string header = u"(日 = 0x65E5) " + info;
    EXPECT_EQ(display.bandText.substr(display.bandText.size() - header.size()), header);

    EnglishLookupResult result;
    result.label = u"japan";
    result.lines = {0};
    EXPECT_NE(composeEnglishText(testing::testEngine().store(), result, true).bandText.find(u"\r\n\t日 " + info), std::u16string::npos);
}

}  // namespace
}  // namespace pelux
