#include "lookup/standard_pinyin.h"

#include <gtest/gtest.h>

#include "support/text_trace.h"

namespace pelux {
namespace {

TEST(StandardPinyin, MarkGoesWhereReadersExpectIt) {
    const struct {
        const char16_t* numbered;
        const char16_t* marked;
    } rows[] = {
        {u"mao1", u"māo"},   {u"Bei3", u"Běi"},   {u"hao3", u"hǎo"},  {u"xie4", u"xiè"},  {u"gou3", u"gǒu"},
        {u"Ou1", u"Ōu"},     {u"liu2", u"liú"},   {u"gui4", u"guì"},  {u"lu:4", u"lǜ"},   {u"nv3", u"nǚ"},
        {u"lu:e4", u"lüè"},  {u"Lu:3", u"Lǚ"},    {u"ma5", u"ma"},    {u"r5", u"r"},      {u"ng2", u"ńg"},
        {u"xx5", u"xx"},     {u"zhuang1", u"zhuāng"},
        // Syllabic nasals: one letter where Unicode has it, a combining mark otherwise.
        {u"m2", u"ḿ"},       {u"n3", u"ň"},       {u"ng4", u"ǹg"},    {u"hm1", u"hm\u0304"}, {u"m4", u"m\u0300"},
        {u"M3", u"M\u030C"}, {u"Ng2", u"Ńg"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.numbered));
        EXPECT_EQ(standardPinyinSyllable(row.numbered), row.marked);
    }
}

TEST(StandardPinyin, TokensThatAreNotNumberedSyllablesStay) {
    for (const char16_t* token : {u"", u"5", u"ma", u"ma6", u"ma0", u"·", u"a:1", u"中1"}) {
        SCOPED_TRACE(traceOf(token));
        EXPECT_EQ(standardPinyinSyllable(token), u"");
    }
    EXPECT_EQ(standardPinyinText(u"A A zhi4 · ma5"), u"A A zhì · ma");
}

TEST(StandardPinyin, LineMarksItsReadingAndTheReadingsInItsDefinitions) {
    EXPECT_EQ(renderStandardPinyinLine(u"北京 北京 [Bei3 jing1] /Beijing/\r"), u"北京 北京 [Běi jīng] /Beijing/\r");
    EXPECT_EQ(renderStandardPinyinLine(u"國 国 [guo2] /variant of 國|国[guo2]/CL:個|个[ge4],位[wei4]/DVD[a]/"),
              u"國 国 [guó] /variant of 國|国[guó]/CL:個|个[gè],位[wèi]/DVD[a]/");
    EXPECT_EQ(renderStandardPinyinLine(u"no reading /x[ma1/"), u"no reading /x[ma1/");
    EXPECT_EQ(standardPinyinCharacterInfo(u" [M: pou1 po3 C: fau2] split"), u" [M: pōu pǒ C: fau2] split");
    EXPECT_EQ(standardPinyinCharacterInfo(u" [M: - C: -] none"), u" [M: - C: -] none");
}

}  // namespace
}  // namespace pelux
