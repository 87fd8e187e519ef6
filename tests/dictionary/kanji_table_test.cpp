// The per-kanji table: what it reads from a KANJIDIC line, and that the prepared image gives back
// the table the text load made.
#include <gtest/gtest.h>

#include "dictionary/kanji_table.h"
#include "dictionary/load_fixture.h"
#include "dictionary/loaders.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

TEST(KanjiTable, ReadsTheReadingsAndNumbersButNotTheNameReadings) {
    CKanjiTable table;
    table.addLine(0x9EC4, u"黄 322B U9ec4 B201 G2 S11 F1240 J2 N5399 DK1596 Yhuang2 Whwang コウ オウ き こ- T1 うい れい "
                          u"{yellow} ");
    table.addLine(0x5CA1, u"岡 322C U5ca1 B13 C46 G4 S8 XS9 F463 N621 Ygang1 Wgang コウ おか {mount} {hill} ");
    table.addLine(0x5CA1, u"岡 322C U5ca1 S99 {a later line of the same kanji} ");
    table.addLine(0x4E00, u"一 no fields at all");
    table.finish();
    ASSERT_EQ(table.size(), 3u);
    const KanjiFacts* yellow = table.find(0x9EC4);
    ASSERT_NE(yellow, nullptr);
    EXPECT_EQ(yellow->onReadings, u"コウ オウ");
    EXPECT_EQ(yellow->kunReadings, u"き こ-");
    EXPECT_EQ((std::array<uint16_t, 4>{yellow->strokes, yellow->grade, yellow->frequency, yellow->jlpt}),
              (std::array<uint16_t, 4>{11, 2, 1240, 2}));
    EXPECT_EQ(table.find(0x5CA1)->strokes, 8) << "the first line of a kanji counts";
    EXPECT_EQ(table.find(0x5CA1)->jlpt, 0);
    EXPECT_EQ(table.find(0x6C96), nullptr);

    const std::u16string flat = table.flatten();
    CKanjiTable copy;
    ASSERT_TRUE(copy.adopt(flat));
    EXPECT_EQ(copy.flatten(), flat);
    for (std::size_t cut : {std::size_t(1), std::size_t(7), flat.size() - 1}) {
        EXPECT_FALSE(copy.adopt(std::u16string_view(flat).substr(0, cut))) << cut;
        EXPECT_EQ(copy.size(), 0u);
    }
}

class KanjiTableImage : public testing_support::LoadTest {};

TEST_F(KanjiTableImage, TheImageGivesBackTheTableOfTheTextLoad) {
    for (const char* name : {kJapaneseMainFile, kJapaneseCharFile, "irregularverbs.txt"})
        std::filesystem::copy_file(std::filesystem::path(PELUX_SOURCE_DIR) / "data" / name, m_directory / name);
    CDictionary& store = testing::testEngine().store();
    const LoadReport text = loadJapaneseDictionary(store, environment());
    ASSERT_TRUE(text.imageWritten);
    const std::u16string fromText = store.kanjiTable().flatten();
    EXPECT_GT(store.kanjiTable().size(), 0u);
    store.kanjiTable().clear();
    const LoadReport image = loadJapaneseDictionary(store, environment());
    ASSERT_TRUE(image.fromImage);
    EXPECT_EQ(store.kanjiTable().flatten(), fromText);
}

}  // namespace
}  // namespace pelux
