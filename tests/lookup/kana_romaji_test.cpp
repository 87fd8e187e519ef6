#include "lookup/kana_romaji.h"

#include <gtest/gtest.h>

#include "support/text_trace.h"

namespace pelux {
namespace {

class KanaRomaji : public ::testing::Test {
protected:
    void SetUp() override { initKanaRomajiTable(); }
};

TEST_F(KanaRomaji, RomanizesCharacterByCharacterWithMiddleDots) {
    const struct {
        const char16_t* kana;
        const char16_t* romaji;
    } rows[] = {
        {u"にほん", u"ni·ho·n"},     {u"カタカナ", u"ka·ta·ka·na"}, {u"きゃ", u"ki·ya"},
        {u"ジュ", u"ji·yu"},         {u"きって", u"ki··te"},        {u"ラーメン", u"ra··me·n"},
        {u"日本", u"·"},             {u"を", u"(w)o"},              {u"ゐ", u"(wi)"},
        {u"ヴァ", u"vu·a"},          {u"か", u"ka"},                {u"", u""},
        {u"ゕ", u""},                {u"ヵ", u"ka"},                {u"ヶ", u"ke"},
        {u"ぢづ", u"ji·zu"},         {u"ふ", u"fu"},                {u"ゑヱ", u"(we)·(we)"},
        {u"ヷヸヹヺ", u"va·vi·ve·vo"}, {u"ゎ", u"wa"},              {u"ン", u"n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.kana));
        EXPECT_EQ(romanizeKana(row.kana), row.romaji);
    }
}

TEST_F(KanaRomaji, CharactersOutsideTheTableHaveNoText) {
    for (char16_t c : {u'・', u'ゝ', u'ゞ', u'ヽ', u'ヾ', u'゛', u'゜', u'\u3096', u'a', u'1', u'中', u'\u3040', u'\u30FD'}) {
        SCOPED_TRACE(static_cast<int>(c));
        EXPECT_TRUE(kanaRomaji(c).empty());
    }
}

TEST_F(KanaRomaji, TableHoldsEveryKanaOfBothScripts) {
    // 175 entries, three of which (small tsu in both scripts and the long-vowel mark) are empty.
    int withText = 0;
    for (char16_t c = 0x3041; c <= 0x30FC; ++c) withText += kanaRomaji(c).empty() ? 0 : 1;
    EXPECT_EQ(withText, 172);
    for (char16_t c = 0x3041; c <= 0x3094; ++c) {
        SCOPED_TRACE(static_cast<int>(c));
        if (c == 0x3063) continue;
        EXPECT_EQ(kanaRomaji(c), kanaRomaji(static_cast<char16_t>(c + 0x60))) << "hiragana and katakana agree";
    }
}

}  // namespace
}  // namespace pelux
