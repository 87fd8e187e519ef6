#include "lookup/cjk_lookup.h"

#include <gtest/gtest.h>

#include "support/store_builder.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

TEST(CjkLookup, LongestKeyWinsAndItsFirstLine) {
    CStoreBuilder build(Chinese);
    build.line(u"中 line", {u"中"});
    build.line(u"中國 line", {u"中国"});
    const LineNumber first = build.line(u"中国人 first", {u"中国人"});
    build.line(u"中国人 second", {u"中国人"});

    const CjkLookupResult result = lookupCjkText(testing::testEngine().store(), u"中国人民", u'中', false);
    EXPECT_EQ(result.wordLength, 3);
    EXPECT_EQ(result.wordLine, first);
    EXPECT_TRUE(result.subItems.empty());
    EXPECT_EQ(result.firstChar, u'中');
}

TEST(CjkLookup, WordsLongerThanEightCharactersAreNeverFound) {
    CStoreBuilder build(Chinese);
    build.line(u"nine", {u"一二三四五六七八九"});
    const LineNumber two = build.line(u"two", {u"一二"});
    CjkLookupResult result = lookupCjkText(testing::testEngine().store(), u"一二三四五六七八九十", u'一', false);
    EXPECT_EQ(result.wordLength, 2);
    EXPECT_EQ(result.wordLine, two);

    const LineNumber eight = build.line(u"eight", {u"一二三四五六七八"});
    result = lookupCjkText(testing::testEngine().store(), u"一二三四五六七八九十", u'一', false);
    EXPECT_EQ(result.wordLength, kMaxWordLength);
    EXPECT_EQ(result.wordLine, eight);
}

TEST(CjkLookup, KeysWithEmptyListsDoNotCount) {
    CStoreBuilder build(Chinese);
    const LineNumber one = build.line(u"人", {u"人"});
    CStoreBuilder::store().entriesFor(u"人民");  // leaves an empty entry behind
    const CjkLookupResult result = lookupCjkText(testing::testEngine().store(), u"人民", u'人', true);
    EXPECT_EQ(result.wordLength, 1);
    EXPECT_EQ(result.wordLine, one);
    EXPECT_TRUE(result.subItems.empty()) << "a one-character word has no sub-word items";
}

TEST(CjkLookup, NothingFoundStillReportsTheFirstCharacter) {
    CStoreBuilder build(Chinese);
    build.line(u"x", {u"国"});
    build.charInfo(u'中', u" [M: zhong1 C: zung1] middle");
    const CjkLookupResult result = lookupCjkText(testing::testEngine().store(), u"中", u'中', true);
    EXPECT_EQ(result.wordLength, 0);
    EXPECT_EQ(result.firstCharInfo, u" [M: zhong1 C: zung1] middle");
    EXPECT_TRUE(result.firstCharRomaji.empty());
    EXPECT_EQ(lookupCjkText(testing::testEngine().store(), u"", u'中', true).wordLength, 0);
}

TEST(CjkLookup, ChineseSubWordItemsCarryFirstLinesOfSingleCharacters) {
    CStoreBuilder build(Chinese);
    const LineNumber zhong = build.line(u"中", {u"中"});
    const LineNumber ren = build.line(u"人", {u"人"});
    build.line(u"中国人", {u"中国人"});
    build.charInfo(u'国', u"country info");  // Chinese items ignore character information

    const CjkLookupResult result = lookupCjkText(testing::testEngine().store(), u"中国人很多", u'中', true);
    ASSERT_EQ(result.subItems.size(), 3u);
    EXPECT_EQ(result.subItems[0].character, u'中');
    EXPECT_EQ(result.subItems[0].chineseLine, zhong);
    EXPECT_EQ(result.subItems[1].character, u'国');
    EXPECT_FALSE(result.subItems[1].chineseLine.has_value());
    EXPECT_EQ(result.subItems[2].chineseLine, ren);
    EXPECT_TRUE(result.subItems[1].japaneseInfo.empty());

    EXPECT_TRUE(lookupCjkText(testing::testEngine().store(), u"中国人很多", u'中', false).subItems.empty());
}

TEST(CjkLookup, JapaneseSubWordItemsAndKanaRomaji) {
    CStoreBuilder build(Japanese);
    build.line(u"日本 [にほん] /Japan/\r\n", {u"日本", u"にほん"});
    build.charInfo(u'日', u"{day} {sun}");
    build.charInfo(u'に', u"unused");

    CjkLookupResult result = lookupCjkText(testing::testEngine().store(), u"日本語", u'日', true);
    EXPECT_EQ(result.wordLength, 2);
    ASSERT_EQ(result.subItems.size(), 2u);
    EXPECT_EQ(result.subItems[0].japaneseInfo, u"{day} {sun}");
    EXPECT_TRUE(result.subItems[1].japaneseInfo.empty());
    EXPECT_FALSE(result.subItems[0].chineseLine.has_value());
    EXPECT_TRUE(result.firstCharRomaji.empty()) << "a kanji has no romaji";
    EXPECT_EQ(result.firstCharInfo, u"{day} {sun}");

    result = lookupCjkText(testing::testEngine().store(), u"にほんご", u'に', false);
    EXPECT_EQ(result.wordLength, 3);
    EXPECT_EQ(result.firstCharRomaji, u"ni");
}

TEST(CjkLookup, OnlyAJapaneseStoreIsTreatedAsJapanese) {
    CStoreBuilder build(None);
    build.line(u"にほん", {u"にほん"});
    const CjkLookupResult result = lookupCjkText(testing::testEngine().store(), u"にほん", u'に', true);
    EXPECT_TRUE(result.firstCharRomaji.empty());
    ASSERT_EQ(result.subItems.size(), 3u);
    EXPECT_FALSE(result.subItems[0].chineseLine.has_value());
}

}  // namespace
}  // namespace pelux
