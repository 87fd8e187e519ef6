// The hand-written renderers against the pattern-based ones they replace: equal on every line of
// the dictionaries and on random malformed lines, and linear on lines built to be expensive.
#include "lookup/line_rendering.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "adapters/platform_linux.h"
#include "dictionary/loaders.h"
#include "line_rendering_reference.h"
#include "support/test_engine.h"
#include "support/text_trace.h"
#include "text/until_nul.h"

namespace pelux {
namespace {

void initTables() {
    initKanaRomajiTable();
    initToneMarkTable();
}

std::u16string randomLine(std::mt19937& random, std::u16string_view alphabet, size_t maxLength) {
    std::uniform_int_distribution<size_t> length(0, maxLength);
    std::uniform_int_distribution<size_t> pick(0, alphabet.size() - 1);
    std::u16string line(length(random), u' ');
    for (char16_t& c : line) c = alphabet[pick(random)];
    return line;
}

TEST(LineRendering, AgreesWithThePatternsOnRandomLines) {
    initTables();
    std::mt19937 random(20261208);
    const std::u16string_view syllableLetters(u"aeiou\u00FCvnhg:A13509", 18);
    const std::u16string_view pinyinLetters(u"[][] aeu\u00FCnhg:A3 \u00B7,/\u4E2D\0", 21);
    const std::u16string_view japaneseLetters(u"[]/  \t\t\u3042\u304B\u65E5x\r\n\0", 15);
    for (int n = 0; n < 30000; ++n) {
        const std::u16string run = randomLine(random, syllableLetters, 12);
        const std::u16string chinese = randomLine(random, pinyinLetters, 30);
        const std::u16string japanese = randomLine(random, japaneseLetters, 24);
        SCOPED_TRACE(traceOf(run) + " | " + traceOf(chinese) + " | " + traceOf(japanese));
        ASSERT_EQ(markSyllable(run), reference::markSyllable(run));
        ASSERT_EQ(renderPinyinLine(chinese), reference::renderPinyinLine(chinese));
        ASSERT_EQ(renderJapaneseLine(japanese), reference::renderJapaneseLine(japanese));
    }
}

// Every stored line of a loaded dictionary; line numbers are dense from the first line on.
void expectEveryLineAgrees(DictionaryLanguage language, const std::filesystem::path& directory) {
    registerLinuxPlatform();
    initTables();
    LoadEnvironment environment;
    environment.directory = directory;
    ASSERT_TRUE(language == Chinese ? loadChineseDictionary(testing::testEngine().store(), environment) : loadJapaneseDictionary(testing::testEngine().store(), environment));
    CDictionary& store = testing::testEngine().store();
    int compared = 0;
    for (LineNumber line = 0, missing = 0; missing < 16; ++line) {
        const std::u16string text(store.lineText(line));
        missing = text.empty() ? missing + 1 : 0;
        if (text.empty()) continue;
        SCOPED_TRACE(traceOf(text));
        ASSERT_EQ(renderEntry(testing::testEngine().store(), line),
                  language == Chinese ? reference::renderPinyinLine(text) : reference::renderJapaneseLine(text));
        ++compared;
    }
    EXPECT_GT(compared, 100);
}

TEST(LineRendering, AgreesWithThePatternsOnEveryBundledLine) {
    const std::filesystem::path data = std::filesystem::path(PELUX_SOURCE_DIR) / "data";
    expectEveryLineAgrees(Chinese, data);
    expectEveryLineAgrees(Japanese, data);
}

TEST(LineRendering, AgreesWithThePatternsOnEveryFullDictionaryLine) {
    const char* directory = std::getenv("PELUXBAR_FULL_DICT_DIR");
    if (!directory) GTEST_SKIP() << "PELUXBAR_FULL_DICT_DIR is not set";
    expectEveryLineAgrees(Chinese, directory);
    expectEveryLineAgrees(Japanese, directory);
}

// Shapes that made the pattern search try every start, each about 1 MB: without a linear
// renderer each would take hours.
TEST(LineRendering, MalformedMegabyteLinesRenderInOnePass) {
    initTables();
    constexpr size_t kLength = size_t(1) << 19;
    const std::u16string letters(kLength, u'a');
    const std::u16string blanks(kLength, u' ');
    const std::u16string noBracket = u"\u4E2D " + letters + u" /x/";
    EXPECT_EQ(renderPinyinLine(noBracket), noBracket);
    const std::u16string unclosed = u"\u4E2D " + std::u16string(kLength, u'[');
    EXPECT_EQ(renderPinyinLine(unclosed), unclosed);
    EXPECT_EQ(renderPinyinLine(u"\u4E2D [" + letters + u"] /x/"), u"\u4E2D [] /x/");
    EXPECT_EQ(renderPinyinLine(u"\u4E2D [" + letters + u"1] /x/"), u"\u4E2D [a\u0101a] /x/");

    const std::u16string noSlash = u"\u65E5\u672C" + letters + u"/x/";
    EXPECT_EQ(renderJapaneseLine(noSlash), noSlash);
    const std::u16string wordThenBlanks = u"\u65E5" + blanks;
    EXPECT_EQ(renderJapaneseLine(wordThenBlanks), wordThenBlanks);
    std::u16string openings;
    for (size_t i = 0; i < kLength / 4; ++i) openings += u"x [a";
    const std::u16string reading = openings.substr(3);
    EXPECT_EQ(renderJapaneseLine(openings + u"] /x/"), u"x [" + reading + u" " + romanizeKana(reading) + u"] /x/");
    EXPECT_EQ(renderJapaneseLine(openings), openings);
}

// Lines are read up to their first NUL; the scan looks at four units a step, so a NUL must be
// found in every lane, beside units whose bits could hide it.
TEST(LineRendering, LinesEndAtTheirFirstNulWhereverItIs) {
    for (const char16_t filler : {u'a', char16_t(0x0001), char16_t(0x8000), char16_t(0xFFFF), char16_t(0x0100)}) {
        for (size_t length = 0; length <= 13; ++length) {
            const std::u16string text(length, filler);
            EXPECT_EQ(untilNul(text), std::u16string_view(text));
            for (size_t nul = 0; nul < length; ++nul) {
                std::u16string cut = text;
                cut[nul] = u'\0';
                EXPECT_EQ(untilNul(cut).size(), nul) << int(filler) << " " << length;
            }
        }
    }
}

}  // namespace
}  // namespace pelux
