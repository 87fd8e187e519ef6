// A store loaded from the prepared image answers every pointer event exactly as one loaded from
// the text files, and both exactly as the store of ordered maps that came before them: the band
// text and tooltip of every text of bench/corpus, on both roads, with sub-words on and off.
// The earlier store's answers are kept as one hash per run (made by its `peluxbar lookup`).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "browser/pointer_road.h"
#include "dictionary/loaders.h"
#include "dictionary/store_image.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "adapters/platform_linux.h"
#include "dictionary/dictionary_inspection.h"
#include "support/corpus_texts.h"
#include "support/test_engine.h"

namespace pelux {
namespace {

// FNV-1a over the UTF-16LE bytes of each band and tooltip, each followed by a zero unit.
uint64_t answersHash(DictionaryLanguage language, bool subWords) {
    uint64_t hash = 0xCBF29CE484222325ull;
    const auto mix = [&hash](std::u16string_view text) {
        for (char16_t unit : std::u16string(text) + u'\0') {
            for (const unsigned char byte : {unsigned(unit & 0xFF), unsigned(unit >> 8)}) hash = (hash ^ byte) * 0x100000001B3ull;
        }
    };
    for (const std::u16string& text : testing_support::corpusTexts(language == Japanese)) {
        const DisplayText display = translateCapturedText(testing::testEngine().store(), captureFromText(text), subWords);
        mix(display.bandText);
        mix(display.tooltipText);
    }
    return hash;
}

struct Answers {
    uint64_t withSubWords = 0, withoutSubWords = 0;
    bool operator==(const Answers&) const = default;
};

// A scratch folder of links to `source`'s files, where the loads may write their images.
std::filesystem::path linkedFolder(const std::filesystem::path& source) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("peluxbar-differential-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    for (const char* name : {kChineseMainFile, kChineseCharFile, kJapaneseMainFile, kJapaneseCharFile, "irregularverbs.txt"})
        std::filesystem::create_symlink(std::filesystem::absolute(source / name), folder / name);
    return folder;
}

Answers loadAndAnswer(DictionaryLanguage language, const std::filesystem::path& folder, bool expectImage) {
    LoadEnvironment environment;
    environment.directory = folder;
    const LoadReport report = language == Chinese ? loadChineseDictionary(testing::testEngine().store(), environment) : loadJapaneseDictionary(testing::testEngine().store(), environment);
    EXPECT_TRUE(report.ran && report.missingFiles.empty());
    EXPECT_EQ(report.fromImage, expectImage);
    EXPECT_NE(report.imageWritten, expectImage);
    DictionaryLock lock(testing::testEngine().store().mutex());
    return Answers{answersHash(language, true), answersHash(language, false)};
}

void prepareProcess() {
    registerLinuxPlatform();
    initKanaRomajiTable();
    initToneMarkTable();
}

void expectImageAndTextAgree(const std::filesystem::path& source, DictionaryLanguage language, const Answers* earlier) {
    prepareProcess();
    const std::filesystem::path folder = linkedFolder(source);
    {
        // Stems outlive loads; start as a process that loads only this language does.
        DictionaryLock lock(testing::testEngine().store().mutex());
        CDictionaryInspection::clearStems(testing::testEngine().store());
    }
    const Answers text = loadAndAnswer(language, folder, false);
    const Answers image = loadAndAnswer(language, folder, true);
    EXPECT_EQ(text, image);
    if (earlier) {
        EXPECT_EQ(text.withSubWords, earlier->withSubWords);
        EXPECT_EQ(text.withoutSubWords, earlier->withoutSubWords);
    }
    std::filesystem::remove_all(folder);
}

std::filesystem::path bundledDirectory() { return std::filesystem::path(PELUX_SOURCE_DIR) / "data"; }

TEST(StoreDifferential, BundledChinese) {
    // The earlier store's answers over the bundled set as it was then agreed with today's store;
    // these are today's over the set as it is now, re-recorded when entries were added to it.
    const Answers earlier{0x1f59bcc8c81bb20cull, 0x121f22e0d364ba2cull};
    expectImageAndTextAgree(bundledDirectory(), Chinese, &earlier);
}

TEST(StoreDifferential, BundledJapanese) {
    const Answers earlier{0xe696b2b2dfe1e1b0ull, 0xb9aaf6b61ec961bcull};
    expectImageAndTextAgree(bundledDirectory(), Japanese, &earlier);
}

TEST(StoreDifferential, TenThousandMissingWordsLeaveTheStoreAsItWas) {
    prepareProcess();
    for (DictionaryLanguage language : {Chinese, Japanese}) {
        const std::filesystem::path folder = linkedFolder(bundledDirectory());
        loadAndAnswer(language, folder, false);
        DictionaryLock lock(testing::testEngine().store().mutex());
        const std::size_t before = inspect(testing::testEngine().store()).bytesHeld();
        for (int i = 0; i < 10000; ++i) {
            std::u16string english = u"zq";
            std::u16string cjk = u"\u4E00";
            for (int n = i; n > 0; n /= 26) english.push_back(char16_t(u'a' + n % 26)), cjk.push_back(char16_t(0x9F00 + n % 26));
            translateCapturedText(testing::testEngine().store(), captureFromText(english + u"ings "), true);  // irregular, stem and stem-target reads
            translateCapturedText(testing::testEngine().store(), captureFromText(cjk), true);
        }
        EXPECT_EQ(inspect(testing::testEngine().store()).bytesHeld(), before);
        std::filesystem::remove_all(folder);
    }
}

// The earlier store's answers hold for the full dictionaries that `peluxbar dict build` makes
// today, recognised by the size of their main files; other builds are compared image to text.
const Answers* earlierFullAnswers(const std::filesystem::path& folder, DictionaryLanguage language) {
    static const Answers chinese{0xace6bf3238774960ull, 0x9c7437baa3ddf633ull};
    static const Answers japanese{0x6fde960dd35740a4ull, 0xe06189c28b01b027ull};
    std::error_code error;
    const auto size = std::filesystem::file_size(folder / (language == Chinese ? kChineseMainFile : kJapaneseMainFile), error);
    if (language == Chinese) return size == 15297452 ? &chinese : nullptr;
    return size == 33918042 ? &japanese : nullptr;
}

TEST(StoreDifferential, FullDictionaries) {
    const char* full = std::getenv("PELUXBAR_FULL_DICT_DIR");
    if (!full || !*full) GTEST_SKIP() << "PELUXBAR_FULL_DICT_DIR is not set";
    for (DictionaryLanguage language : {Chinese, Japanese})
        expectImageAndTextAgree(full, language, earlierFullAnswers(full, language));
}

}  // namespace
}  // namespace pelux
