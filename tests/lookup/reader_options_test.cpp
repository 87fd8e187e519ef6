// The reader's switches over real dictionary lines: the full dictionaries when
// PELUXBAR_FULL_DICT_DIR names them, else the bundled set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "adapters/platform_linux.h"
#include "browser/pointer_road.h"
#include "dictionary/loaders.h"
#include "lookup/entry_ranking.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

void load(DictionaryLanguage language) {
    const char* full = std::getenv("PELUXBAR_FULL_DICT_DIR");
    registerLinuxPlatform();
    initKanaRomajiTable();
    initToneMarkTable();
    LoadEnvironment environment;
    environment.directory = full ? std::filesystem::path(full) : std::filesystem::path(PELUX_SOURCE_DIR) / "data";
    ASSERT_TRUE(language == Chinese ? loadChineseDictionary(testing::testEngine().store(), environment) : loadJapaneseDictionary(testing::testEngine().store(), environment));
}

// The full dictionaries take seconds to load: each suite loads its language once.
class ReaderOptionsChinese : public ::testing::Test {
protected:
    static void SetUpTestSuite() { load(Chinese); }
};

class ReaderOptionsJapanese : public ::testing::Test {
protected:
    static void SetUpTestSuite() { load(Japanese); }
};

ReaderOptions options(bool allEntries, bool standardPinyin, bool hepburn) {
    ReaderOptions reader;
    reader.allEntries = allEntries;
    reader.standardPinyin = standardPinyin;
    reader.hepburnRomaji = hepburn;
    return reader;
}

DisplayText pointAt(std::u16string text, const ReaderOptions& reader) {
    return translateCapturedText(testing::testEngine().store(), captureFromText(std::move(text)), false, reader);
}

std::vector<std::u16string> bandLines(const std::u16string& band) {
    std::vector<std::u16string> lines;
    for (size_t start = 0; start <= band.size();) {
        const size_t end = std::min(band.find(u"\r\n", start), band.size());
        lines.push_back(band.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

bool contains(const std::u16string& text, std::u16string_view part) { return text.find(part) != std::u16string::npos; }

TEST_F(ReaderOptionsChinese, AllEntriesPutsSurnamesLastAndShowsEveryReading) {
    const std::vector<std::u16string> forest = bandLines(pointAt(u"林", options(true, true, false)).bandText);
    ASSERT_GE(forest.size(), 3u);
    EXPECT_TRUE(contains(forest[0], u"[lín] /woods/forest/")) << traceOf(forest[0]);
    EXPECT_TRUE(contains(forest[1], u"[Lín] /surname Lin/")) << traceOf(forest[1]);

    const DisplayText walk = pointAt(u"行", options(true, true, false));
    EXPECT_TRUE(contains(walk.tooltipText, u"[xíng] /") && contains(walk.tooltipText, u"[háng] /")) << traceOf(walk.tooltipText);
    EXPECT_FALSE(contains(pointAt(u"行", {}).bandText, u"[hang2]"));
}

TEST_F(ReaderOptionsChinese, StandardPinyinMarksEntriesAndTheCharacterLine) {
    const struct {
        const char16_t* text;
        const char16_t* shown;
    } rows[] = {
        {u"北京", u"北京 北京 [Běi jīng] /"}, {u"狗", u"狗 狗 [gǒu] /"}, {u"女", u"女 女 [nǚ] /"},
        {u"綠", u"綠 绿 [lǜ] /"},              {u"中", u"(中 = 0x4E2D)  [M: zhōng C: "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.text));
        const std::u16string band = pointAt(row.text, options(false, true, false)).bandText;
        EXPECT_TRUE(contains(band, row.shown)) << traceOf(band);
    }
}

TEST_F(ReaderOptionsChinese, EnglishRoadShowsAtMostTenLinesInRankOrder) {
    for (const char16_t* word : {u"forest", u"country", u"go"}) {
        SCOPED_TRACE(traceOf(word));
        const std::vector<std::u16string> lines = bandLines(pointAt(word, options(true, false, false)).bandText);
        EXPECT_LE(lines.size(), kMaxEnglishEntries + 1);
        for (size_t i = 1; i < lines.size(); ++i) EXPECT_LE(rankEntryLine(lines[i - 1]), rankEntryLine(lines[i]));
    }
}

TEST_F(ReaderOptionsJapanese, CommonEntriesComeFirst) {
    const std::vector<std::u16string> lines = bandLines(pointAt(u"生物", options(true, false, true)).bandText);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with(u"生物 [せいぶつ seibutsu] /") && contains(lines[0], u"/(P)/")) << traceOf(lines[0]);
    EXPECT_TRUE(contains(lines[1], u"なまもの")) << traceOf(lines[1]);
    EXPECT_TRUE(bandLines(pointAt(u"学生", options(true, false, true)).bandText)[0].starts_with(u"学生 [がくせい gakusei]"));
}

TEST_F(ReaderOptionsJapanese, HepburnRomanizesReadingsAndTheCharacterHeader) {
    const struct {
        const char16_t* text;
        const char16_t* shown;
    } rows[] = {
        {u"東京", u"[とうきょう tōkyō]"},   {u"切手", u"[きって kitte]"},
        {u"抹茶", u"[まっちゃ matcha]"},    {u"禁煙", u"[きんえん kin'en]"},    {u"写真", u"[しゃしん shashin]"},
        {u"邪魔", u"[じゃま jama]"},        {u"ラーメン", u"ラーメン [rāmen]"},  {u"を", u"(を = 0x3092 [o])"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.text));
        const std::u16string band = pointAt(row.text, options(false, false, true)).bandText;
        EXPECT_TRUE(contains(band, row.shown)) << traceOf(band);
    }
}

}  // namespace
}  // namespace pelux
