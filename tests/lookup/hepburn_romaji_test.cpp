#include "lookup/hepburn_romaji.h"

#include <gtest/gtest.h>

#include "dictionary/kanji_table.h"
#include "lookup/kana_romaji.h"
#include "lookup/line_rendering.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

TEST(HepburnRomaji, ReadingsAreWrittenInModifiedHepburn) {
    initKanaRomajiTable();
    const struct {
        const char16_t* kana;
        const char16_t* romaji;
    } rows[] = {
        {u"しゃしん", u"shashin"},   {u"じゃま", u"jama"},           {u"ちゅうごく", u"chūgoku"},
        {u"とうきょう", u"tōkyō"},   {u"きって", u"kitte"},          {u"まっちゃ", u"matcha"},
        {u"ラーメン", u"rāmen"},     {u"きんえん", u"kin'en"},       {u"こんや", u"kon'ya"},
        {u"しんぶん", u"shinbun"},   {u"ふじさん", u"fujisan"},      {u"つづく", u"tsuzuku"},
        {u"おかあさん", u"okāsan"},  {u"おおきい", u"ōkii"},          {u"おにいさん", u"oniisan"},
        {u"せんせい", u"sensei"},    {u"ぢ", u"ji"},                 {u"を", u"o"},
        {u"パーティー", u"pātī"},    {u"ファイル", u"fairu"},        {u"ウィキ", u"wiki"},
        {u"チェック", u"chekku"},    {u"ジェット", u"jetto"},        {u"ヴァイオリン", u"vaiorin"},
        {u"ゃ", u"ya"},              {u"あっ", u"a"},                {u"ー", u""},
        {u"カード２", u"kādo２"},
        {u"フュ", u"fyu"},           {u"フュージョン", u"fyūjon"},   {u"デュエット", u"dyuetto"},
        {u"ヶ月", u"ke"},            {u"ゝ", u""},                   {u"いすゞ", u"isu"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.kana));
        EXPECT_EQ(traceOf(hepburnRomaji(row.kana)), traceOf(row.romaji));
    }
}

TEST(HepburnRomaji, TheLastUOfAGodanVerbIsItsOwnSyllable) {
    initKanaRomajiTable();
    const struct {
        const char16_t* line;
        const char16_t* rendered;
    } rows[] = {
        {u"思う [おもう] /(v5u,vt) to think/", u"思う [おもう omou] /(v5u,vt) to think/"},
        {u"通う [かよう] /(v5u,vi) to commute/", u"通う [かよう kayou] /(v5u,vi) to commute/"},
        {u"追う [おう] /(v5u,vt) to chase/", u"追う [おう ou] /(v5u,vt) to chase/"},
        {u"縫う [ぬう] /(v5u,vt) to sew/", u"縫う [ぬう nuu] /(v5u,vt) to sew/"},
        {u"問う [とう] /(v5u-s,vt) to ask/", u"問う [とう tou] /(v5u-s,vt) to ask/"},
        {u"相当 [そうとう] /(n,vs) equivalent/", u"相当 [そうとう sōtō] /(n,vs) equivalent/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.line));
        EXPECT_EQ(traceOf(renderJapaneseLine(row.line, true)), traceOf(row.rendered));
    }
}

TEST(HepburnRomaji, ALongVowelStaysInsideTheReadingOfOneKanji) {
    initKanaRomajiTable();
    CKanjiTable kanji;
    for (const char16_t* line : {u"子 U5b50 S3 シ ス こ -こ {child}", u"牛 U725b S4 ギュウ うし {cow}",
                                 u"東 U6771 S8 トウ ひがし {east}", u"京 U4eac S8 キョウ ケイ {capital}",
                                 u"学 U5b66 S8 ガク まな.ぶ {study}", u"校 U6821 S10 コウ {school}",
                                 u"里 U91cc S7 リ さと {village}", u"親 U89aa S16 シン おや した.しい {parent}",
                                 u"大 U5927 S3 ダイ タイ おお- おお.きい {large}", u"通 U901a S10 ツウ とお.る {pass}",
                                 u"湖 U6e56 S12 コ みずうみ {lake}"}) {
        kanji.addLine(char32_t(line[0]), line);
    }
    kanji.finish();
    const struct {
        const char16_t* line;
        const char16_t* romaji;
    } rows[] = {
        {u"子牛 [こうし] /(n) calf/", u"koushi"},        {u"里親 [さとおや] /(n) foster parent/", u"satooya"},
        {u"東京 [とうきょう] /(n) Tokyo/", u"tōkyō"},    {u"学校 [がっこう] /(n) school/", u"gakkō"},
        {u"大通り [おおどおり] /(n) avenue/", u"ōdōri"}, {u"湖 [みずうみ] /(n) lake/", u"mizūmi"},
        {u"海老 [えびおう] /(n) no reading of its kanji fits/", u"ebiō"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.line));
        const std::u16string rendered = renderJapaneseLine(row.line, true, &kanji);
        EXPECT_NE(rendered.find(std::u16string(u" ") + row.romaji + u"]"), std::u16string::npos) << traceOf(rendered);
    }
}

}  // namespace
}  // namespace pelux
