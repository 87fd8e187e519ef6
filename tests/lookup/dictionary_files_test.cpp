// The whole road of a pointer event over real dictionary files: the bundled set in data/ and,
// when PELUXBAR_FULL_DICT_DIR names a folder made by `peluxbar dict build`, the full dictionaries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "browser/pointer_road.h"
#include "dictionary/loaders.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "adapters/platform_linux.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

std::filesystem::path bundledDirectory() { return std::filesystem::path(PELUX_SOURCE_DIR) / "data"; }

std::filesystem::path fullDirectory() {
    const char* dir = std::getenv("PELUXBAR_FULL_DICT_DIR");
    return dir ? std::filesystem::path(dir) : std::filesystem::path();
}

void load(DictionaryLanguage language, const std::filesystem::path& directory) {
    registerLinuxPlatform();
    initKanaRomajiTable();
    initToneMarkTable();
    LoadEnvironment environment;
    environment.directory = directory;
    ASSERT_TRUE(language == Chinese ? loadChineseDictionary(testing::testEngine().store(), environment) : loadJapaneseDictionary(testing::testEngine().store(), environment));
    ASSERT_TRUE(testing::testEngine().store().isLoaded());
}

DisplayText pointAt(std::u16string text, bool subWords) { return translateCapturedText(testing::testEngine().store(), captureFromText(std::move(text)), subWords); }

TEST(BundledChinese, PhraseWithSubWordLinesHasFiveLines) {
    load(Chinese, bundledDirectory());
    const DisplayText display = pointAt(u"中国人很多", true);
    EXPECT_EQ(display.bandText,
              u"(Phrase) 中國人 中国人 [zhōng guó rén] /Chinese person/\r\r\n"
              u"\t中 中 [zhōng] /middle/center/China/\r\r\n"
              u"\t國 国 [guó] /country/nation/state/\r\r\n"
              u"\t人 人 [rén] /person/people/\r\r\n"
              u"(中 = 0x4E2D)  [M: zhong1 C: zung1] middle; centre; within; China");
    EXPECT_EQ(display.tooltipText, u"中國人 中国人 [zhōng guó rén] /Chinese person/\r");
}

TEST(BundledChinese, EnglishRoadLabels) {
    load(Chinese, bundledDirectory());
    const struct {
        const char16_t* word;
        const char16_t* bandStart;
    } rows[] = {
        {u"don't", u"(do not): 做 做 [zuò] /to do/to make/"},
        {u"let's", u"(let us): 讓 让 [ràng] /to let/to allow/"},
        {u"went", u"[irregular] go: 去 去 [qù] /to go/to leave/"},
        {u"cats ", u"[root]cat: 貓 猫 [maō] /cat/"},
        {u"Dog", u"dog: 狗 狗 [goŭ] /dog/"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.word));
        const std::u16string band = pointAt(row.word, false).bandText;
        EXPECT_EQ(band.substr(0, std::u16string_view(row.bandStart).size()), row.bandStart) << traceOf(band);
    }
}

TEST(BundledChinese, NoWordAtThePointerShowsTheCharacterHeader) {
    load(Chinese, bundledDirectory());
    const DisplayText display = pointAt(u"，很", true);
    EXPECT_EQ(display.bandText, u"(， = 0xFF0C) ");
}

TEST(BundledJapanese, ReadingGetsItsRomanization) {
    load(Japanese, bundledDirectory());
    DisplayText display = pointAt(u"日本", false);
    EXPECT_EQ(display.tooltipText, u"日本 [にほん ni·ho·n] /Japan/\r\n");
    EXPECT_EQ(display.bandText.substr(0, 28), u"日本 [にほん ni·ho·n] /Japan/\r\n\r\n");

    display = pointAt(u"話す", true);
    EXPECT_EQ(display.bandText.rfind(u"(話 = 0x8A71) ", 0) == std::u16string::npos, true);
    EXPECT_NE(display.bandText.find(u"\t話 "), std::u16string::npos) << traceOf(display.bandText);

    display = pointAt(u"かな", false);
    EXPECT_NE(display.bandText.find(u"(か = 0x304B [ka]) "), std::u16string::npos) << traceOf(display.bandText);
}

TEST(BundledJapanese, EnglishRoadFindsJapaneseLines) {
    load(Japanese, bundledDirectory());
    const std::u16string band = pointAt(u"dog", false).bandText;
    EXPECT_EQ(band.rfind(u"dog: 犬 [いぬ i·nu] /(n) dog/\r\n", 0), 0u) << traceOf(band);
}

class FullDictionaries : public ::testing::Test {
protected:
    void SetUp() override {
        if (fullDirectory().empty() || !std::filesystem::exists(fullDirectory() / "cedict_ts.uni"))
            GTEST_SKIP() << "set PELUXBAR_FULL_DICT_DIR to a folder made by `peluxbar dict build`";
    }
};

TEST_F(FullDictionaries, ChinesePhraseAndEnglishRoad) {
    load(Chinese, fullDirectory());
    const DisplayText display = pointAt(u"中国人很多", true);
    EXPECT_EQ(display.bandText.rfind(u"(Phrase) 中國人 中国人 [Zhōng guó rén] /", 0), 0u) << traceOf(display.bandText);
    EXPECT_NE(display.bandText.find(u"\r\n(中 = 0x4E2D)  [M: zhong1"), std::u16string::npos) << traceOf(display.bandText);
    EXPECT_EQ(pointAt(u"went", false).bandText.rfind(u"[irregular] go: ", 0), 0u);
    EXPECT_EQ(pointAt(u"doesn't", false).bandText.rfind(u"(do not): ", 0), 0u);
    EXPECT_EQ(pointAt(u"let's", false).bandText.rfind(u"(let us): ", 0), 0u);
    // CC-CEDICT has a line for don't itself, which wins over the contraction.
    EXPECT_EQ(pointAt(u"don't", false).bandText.rfind(u"don't: ", 0), 0u);
    EXPECT_EQ(pointAt(u"cats", false).bandText.rfind(u"[root]cat: ", 0), 0u);
}

TEST_F(FullDictionaries, JapaneseReadingAndKanjiInformation) {
    load(Japanese, fullDirectory());
    const DisplayText display = pointAt(u"日本語を話す", true);
    // EDICT's first line for 日本語 is its にっぽんご reading.
    EXPECT_EQ(display.bandText.rfind(u"(Phrase) 日本語 [にっぽんご ni··po·n·go] /(n) Japanese (language)/", 0), 0u)
        << traceOf(display.bandText);
    EXPECT_NE(display.bandText.find(u"\t日 {"), std::u16string::npos);
    EXPECT_EQ(pointAt(u"dogs", false).bandText.rfind(u"[root]dog: ", 0), 0u);
}

}  // namespace
}  // namespace pelux
