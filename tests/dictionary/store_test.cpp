#include <gtest/gtest.h>

#include "dictionary/dictionary.h"

namespace pelux {
namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.resetForLoad(None);
        store.m_stems.clear();
        store.m_irregular.clear();
    }
    CDictionary& store = theDictionary();
};

TEST(StoreStart, FreshStoreIsNotLoaded) {
    CDictionary fresh;
    EXPECT_FALSE(fresh.isLoaded());
    EXPECT_EQ(fresh.m_language, Chinese);  // None only from the engine initialisation on
}

TEST_F(StoreTest, ReadingAnAbsentKeyLeavesAnEmptyEntryAndCountsAsLoaded) {
    EXPECT_FALSE(store.isLoaded());
    EXPECT_TRUE(store.entriesFor(u"狗").empty());
    ASSERT_EQ(store.m_index.count(u"狗"), 1u);
    EXPECT_TRUE(store.isLoaded());
}

TEST_F(StoreTest, EveryReadCreatesAnEmptyValue) {
    EXPECT_TRUE(store.lineText(7).empty());
    EXPECT_TRUE(store.charInfo(0x4E2D).empty());
    EXPECT_TRUE(store.stemTarget(u"quick").empty());
    EXPECT_TRUE(store.irregularForm(u"went").empty());
    EXPECT_EQ(store.m_lines.count(7), 1u);
    EXPECT_EQ(store.m_charInfo.count(0x4E2D), 1u);
    EXPECT_EQ(store.m_stems.count(u"quick"), 1u);
    EXPECT_EQ(store.m_irregular.count(u"went"), 1u);
}

TEST_F(StoreTest, CollapseDropsOnlyARepeatOfTheLastNumber) {
    store.addToIndex(u"dog", 3, true);
    store.addToIndex(u"dog", 3, true);
    store.addToIndex(u"dog", 4, true);
    EXPECT_EQ(store.entriesFor(u"dog"), (LineList{3, 4}));
    store.addToIndex(u"人", 5, false);
    store.addToIndex(u"人", 5, false);
    EXPECT_EQ(store.entriesFor(u"人"), (LineList{5, 5}));
}

TEST_F(StoreTest, ResetForLoadKeepsStemsAndIrregularForms) {
    store.setLine(0, u"line");
    store.setCharInfo(0x4E00, u"one");
    store.addToIndex(u"key", 0, false);
    store.setStem(u"quick", u"quickly");
    store.setIrregular(u"went", u"go");
    store.resetForLoad(Japanese);
    EXPECT_EQ(store.m_language, Japanese);
    EXPECT_TRUE(store.m_lines.empty());
    EXPECT_TRUE(store.m_charInfo.empty());
    EXPECT_FALSE(store.isLoaded());
    EXPECT_EQ(store.stemTarget(u"quick"), u"quickly");
    EXPECT_EQ(store.irregularForm(u"went"), u"go");
}

TEST_F(StoreTest, KeysOrderByUnsignedCodeUnitsWithPrefixesFirst) {
    for (std::u16string_view key : {u"\uFF21", u"ab", u"a", u"\u00E9", u"\U00020000"}) store.addToIndex(key, 0, false);
    std::vector<std::u16string> keys;
    for (const auto& entry : store.m_index) keys.push_back(entry.first);
    EXPECT_EQ(keys, (std::vector<std::u16string>{u"a", u"ab", u"\u00E9", u"\U00020000", u"\uFF21"}));
}

}  // namespace
}  // namespace pelux
