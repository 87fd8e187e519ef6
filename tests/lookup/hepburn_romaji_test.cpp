#include "lookup/hepburn_romaji.h"

#include <gtest/gtest.h>

#include "lookup/kana_romaji.h"
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
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.kana));
        EXPECT_EQ(traceOf(hepburnRomaji(row.kana)), traceOf(row.romaji));
    }
}

}  // namespace
}  // namespace pelux
