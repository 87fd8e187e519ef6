#include "lookup/pinyin.h"

#include <gtest/gtest.h>

#include "support/text_trace.h"

namespace pelux {
namespace {

class Pinyin : public ::testing::Test {
protected:
    void SetUp() override { initToneMarkTable(); }
};

TEST_F(Pinyin, MarksTheVowelChosenBySyllablePattern) {
    const struct {
        const char16_t* run;
        const char16_t* marked;
    } rows[] = {
        {u"zhong1", u"zhōng"}, {u"er2", u"ér"},     {u"shi4", u"shì"},    {u"guo2", u"guó"},
        {u"liu2", u"liú"},     {u"gui4", u"guì"},   {u"xiao3", u"xiăo"},  {u"shuai4", u"shuài"},
        {u"hao3", u"haŏ"},     {u"mei2", u"meí"},   {u"ai4", u"aì"},      {u"shian5", u"shian"},
        {u"ma5", u"ma"},       {u"lü4", u"lǜ"},     {u"lü3", u"lǚ"},      {u"lu:4", u"lù:"},
        {u"nu:e4", u":è"},     {u"r5", u""},        {u"An1", u""},        {u"Zhong1", u"Zhōng"},
        {u"ma1ma5", u"mā"},    {u"chuan2", u"chuán"}, {u"tong3", u"tŏng"}, {u"ri4", u"rì"},
        {u"ni3", u"nĭ"},       {u"nü3", u"nǚ"},     {u"yue4", u"yuè"},    {u"hao", u""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.run));
        EXPECT_EQ(markSyllable(row.run), row.marked);
    }
}

TEST_F(Pinyin, ToneDigitWithoutFormLeavesVowelUnmarkedAndDropsDigit) {
    EXPECT_EQ(markSyllable(u"ma0"), u"ma");
    EXPECT_EQ(markSyllable(u"zhong7"), u"zhong");
    EXPECT_EQ(markSyllable(u"lü9"), u"lü");
}

TEST_F(Pinyin, RewritesOnlyTheBracketedPinyinOfALine) {
    const struct {
        const char16_t* line;
        const char16_t* rendered;
    } rows[] = {
        {u"傳統 传统 [chuan2 tong3] /tradition/", u"傳統 传统 [chuán tŏng] /tradition/"},
        {u"一點兒 一点儿 [yi1 dian3 r5] /a little/", u"一點兒 一点儿 [yī diăn ] /a little/"},
        {u"中國 中国 [Zhong1   guo2] /China/\r", u"中國 中国 [Zhōng guó] /China/\r"},
        {u"no brackets here /x/", u"no brackets here /x/"},
        {u"女兒 女儿 [nu:3 er2] /daughter/", u"女兒 女儿 [nŭ: ér] /daughter/"},
        {u"A A [] /empty/", u"A A [] /empty/"},
        {u"X X [ma1,ma5·hao3] /x/", u"X X [mā ma haŏ] /x/"},
        {u"X X [] /CL:個|个[ge4]/", u"X X [] /CL:個|个[ge4]/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.line));
        EXPECT_EQ(renderPinyinLine(row.line), row.rendered);
    }
}

TEST_F(Pinyin, TrailingSpaceInPinyinNeverPullsSyllablesFromDefinitions) {
    EXPECT_EQ(renderPinyinLine(u"個 个 [ge4 ] /CL:個|个[ge4]/"), u"個 个 [gè ] /CL:個|个[ge4]/");
}

}  // namespace
}  // namespace pelux
