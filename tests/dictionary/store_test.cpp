#include <gtest/gtest.h>

#include <map>

#include "dictionary/dictionary.h"
#include "dictionary/dictionary_inspection.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        store.resetForLoad(None);
        CDictionaryInspection::clearStems(store);
        store.clearIrregular();
    }
    CDictionary& store = testing::testEngine().store();
};

TEST(StoreStart, FreshStoreIsNotLoaded) {
    CDictionary fresh;
    EXPECT_FALSE(fresh.isLoaded());
    EXPECT_EQ(fresh.language(), Chinese);  // None only from the engine initialisation on
}

TEST_F(StoreTest, ReadingAnAbsentKeyStoresNothingButCountsAsLoaded) {
    EXPECT_FALSE(store.isLoaded());
    EXPECT_TRUE(store.entriesFor(u"狗").empty());
    EXPECT_FALSE(inspect(store).hasKey(u"狗"));
    EXPECT_TRUE(store.isLoaded());
}

TEST_F(StoreTest, EveryReadOfAMissingKeyGivesTheEmptyValueAndStoresNothing) {
    EXPECT_TRUE(store.lineText(7).empty());
    EXPECT_TRUE(store.charInfo(0x4E2D).empty());
    EXPECT_TRUE(store.stemTarget(u"quick").empty());
    EXPECT_TRUE(store.irregularForm(u"went").empty());
    EXPECT_FALSE(inspect(store).hasLine(7));
    EXPECT_EQ(inspect(store).charInfoEntries().count(0x4E2D), 0u);
    EXPECT_FALSE(inspect(store).hasStem(u"quick"));
    EXPECT_EQ(inspect(store).irregularEntries().count(u"went"), 0u);
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
    EXPECT_EQ(store.language(), Japanese);
    EXPECT_TRUE(inspect(store).lineCount() == 0);
    EXPECT_TRUE(inspect(store).charInfoEntries().empty());
    EXPECT_FALSE(store.isLoaded());
    EXPECT_EQ(store.stemTarget(u"quick"), u"quickly");
    EXPECT_EQ(store.irregularForm(u"went"), u"go");
}

TEST_F(StoreTest, CharacterReadsFollowEveryWriteBetweenThem) {
    struct Step {
        int32_t write;  // 0: a reset for a load
        std::u16string_view text;
    } steps[] = {{0x4E2D, u"middle"}, {0x4E00, u"one"}, {0x4E2D, u"centre"}, {0x20000, u"outside the plane"},
                 {-5, u"negative"},   {0, u""},         {0x4E00, u"ichi"},    {0xFFFF, u"last"}};
    std::map<int32_t, std::u16string> expected;
    for (const Step& step : steps) {
        if (step.write == 0) {
            store.resetForLoad(Japanese);
            expected.clear();
        } else {
            store.setCharInfo(step.write, step.text);
            expected[step.write] = step.text;
        }
        for (int32_t code : {0x4E2D, 0x4E00, 0x20000, -5, 0xFFFF, 0x4E01}) {
            const auto found = expected.find(code);
            EXPECT_EQ(store.charInfo(code), found == expected.end() ? u"" : found->second) << std::hex << code;
        }
    }
}

TEST_F(StoreTest, KeysOrderByUnsignedCodeUnitsWithPrefixesFirst) {
    for (std::u16string_view key : {u"\uFF21", u"ab", u"a", u"\u00E9", u"\U00020000"}) store.addToIndex(key, 0, false);
    std::vector<std::u16string> keys;
    keys = inspect(store).keysInOrder();
    EXPECT_EQ(keys, (std::vector<std::u16string>{u"a", u"ab", u"\u00E9", u"\U00020000", u"\uFF21"}));
}

}  // namespace
}  // namespace pelux
