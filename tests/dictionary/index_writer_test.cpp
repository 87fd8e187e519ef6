#include "dictionary/dictionary_inspection.h"
#include "dictionary/index_writer.h"
#include "support/test_engine.h"

#include <gtest/gtest.h>

#include <string>

namespace pelux {
namespace {

class IndexWriterTest : public ::testing::Test {
protected:
    void SetUp() override { store.resetForLoad(Japanese); }
    CDictionary& store = testing::testEngine().store();
};

TEST_F(IndexWriterTest, SharesEntriesWithReadersOfTheStore) {
    CIndexWriter index(store, 0);
    EXPECT_TRUE(store.entriesFor(u"犬").empty());  // a pointer event read the key first
    index.add(u"犬", 1, false);
    store.addToIndex(u"犬", 2, false);  // written behind the writer's back
    index.add(u"犬", 3, false);
    index.add(u"犬", 3, true);
    EXPECT_EQ(store.entriesFor(u"犬"), (LineList{1, 2, 3}));
}

TEST_F(IndexWriterTest, HasEntriesLeavesNoKeyLikeEntriesFor) {
    CIndexWriter index(store, 0);
    EXPECT_FALSE(index.hasEntries(u"run"));
    EXPECT_FALSE(inspect(store).hasKey(u"run"));
    index.add(u"run", 0, false);
    EXPECT_TRUE(index.hasEntries(u"run"));
}

TEST_F(IndexWriterTest, ManyKeysSurviveTheTableGrowing) {
    CIndexWriter index(store, 0);
    constexpr int kKeys = 300000;
    for (int i = 0; i < kKeys; ++i) {
        const std::string digits = std::to_string(i);
        index.add(std::u16string(digits.begin(), digits.end()), i, false);
    }
    for (int i = 0; i < kKeys; i += 997) {
        const std::string digits = std::to_string(i);
        index.add(std::u16string(digits.begin(), digits.end()), kKeys + i, false);
    }
    ASSERT_EQ(inspect(store).keyCount(), std::size_t(kKeys));
    EXPECT_EQ(store.entriesFor(u"0"), (LineList{0, kKeys}));
    EXPECT_EQ(store.entriesFor(u"1"), LineList{1});
    EXPECT_EQ(store.entriesFor(u"299999"), LineList{299999});
}

}  // namespace
}  // namespace pelux
