// Deinflection over running text: the forms readers meet most, the choice between dictionary
// forms that fit the same text, particles, and the list shown with every entry on.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "adapters/platform_linux.h"
#include "browser/pointer_road.h"
#include "dictionary/loaders.h"
#include "lookup/cjk_lookup.h"
#include "lookup/kana_romaji.h"
#include "support/store_builder.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

ReaderOptions deinflecting(bool allEntries = false) {
    ReaderOptions reader;
    reader.deinflect = true;
    reader.allEntries = allEntries;
    return reader;
}

CjkLookupResult lookUp(std::u16string_view captured, const ReaderOptions& reader) {
    DictionaryLock lock(testing::testEngine().store().mutex());
    return lookupCjkText(testing::testEngine().store(), captured, captured.front(), false, reader);
}

// The text from the pointer on; the band should show the conjugated word that starts it under
// its dictionary form, with the form named.
struct RunningTextRow {
    const char16_t* captured;
    const char16_t* surface;
    const char16_t* dictionaryForm;
    const char16_t* chain;
};

const RunningTextRow kRunningText[] = {
    {u"し、その後", u"し", u"する", u"continuative"},
    {u"持ち、", u"持ち", u"持つ", u"continuative"},
    {u"あり、", u"あり", u"ある", u"continuative"},
    {u"取り、", u"取り", u"取る", u"continuative"},
    {u"受け取り、", u"受け取り", u"受け取る", u"continuative"},
    {u"確かめ、", u"確かめ", u"確かめる", u"continuative"},
    {u"割り当て、", u"割り当て", u"割り当てる", u"continuative"},
    {u"とられ、", u"とられ", u"とる", u"passive continuative"},
    {u"行われ、", u"行われ", u"行う", u"passive continuative"},
    {u"置かれ続ける", u"置かれ", u"置く", u"passive continuative"},
    {u"なく、", u"なく", u"ない", u"adverbial"},
    {u"分かった。", u"分かった", u"分かる", u"past"},
    {u"わかった。", u"わかった", u"わかる", u"past"},
    {u"おもった。", u"おもった", u"おもう", u"past"},
    {u"書いておきます。", u"書いておきます", u"書く", u"te-oku polite"},
    {u"置いてある。", u"置いてある", u"置く", u"te-aru"},
    {u"使いながら", u"使いながら", u"使う", u"while"},
    {u"いらっしゃいました。", u"いらっしゃいました", u"いらっしゃる", u"polite past"},
    {u"おっしゃいます。", u"おっしゃいます", u"おっしゃる", u"polite"},
    {u"おっしゃった。", u"おっしゃった", u"おっしゃる", u"past"},
    {u"なさった。", u"なさった", u"なさる", u"past"},
    {u"なさいません。", u"なさいません", u"なさる", u"polite negative"},
    {u"くださいました。", u"くださいました", u"くださる", u"polite past"},
    {u"ござった。", u"ござった", u"ござる", u"past"},
};

// Text at the pointer where the plain match must stand with deinflection on.
const char16_t* const kPlainStands[] = {
    u"になってきました",  // に, not the te-form of 荷う (になう)
    u"回よりずっと",      // 回, not the imperative of a verb 回る
    u"でファイルを",      // the particle, not the stem of 出る
    u"により",            // the particle, not the phrase による
    u"終わり。",          // a stem where the sentence ends is the noun
};

class RunningText : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const char* full = std::getenv("PELUXBAR_FULL_DICT_DIR");
        if (full == nullptr || !std::filesystem::exists(std::filesystem::path(full) / "edict.uni")) return;
        registerLinuxPlatform();
        initKanaRomajiTable();
        LoadEnvironment environment;
        environment.directory = full;
        loaded = static_cast<bool>(loadJapaneseDictionary(testing::testEngine().store(), environment));
    }

    void SetUp() override {
        if (!loaded) GTEST_SKIP() << "set PELUXBAR_FULL_DICT_DIR to a folder made by `peluxbar dict build`";
    }

    static inline bool loaded = false;
};

TEST_F(RunningText, FullEdictReadsTheFormsReadersMeetMost) {
    for (const RunningTextRow& row : kRunningText) {
        SCOPED_TRACE(traceOf(row.captured));
        const CjkLookupResult result = lookUp(row.captured, deinflecting());
        if (!result.deinflected) {
            ADD_FAILURE() << "no deinflected word";
            continue;
        }
        EXPECT_EQ(result.deinflected->surface, row.surface);
        EXPECT_EQ(result.deinflected->dictionaryForm, row.dictionaryForm);
        EXPECT_EQ(result.deinflected->formName, row.chain);
    }
}

TEST_F(RunningText, FullEdictShowsTheCommonLineOfTheDictionaryForm) {
    const CjkLookupResult result = lookUp(u"おもった。", deinflecting());
    ASSERT_TRUE(result.deinflected.has_value());
    EXPECT_TRUE(testing::testEngine().store().lineText(result.deinflected->line).starts_with(u"思う ")) << "not 惟う or 憶う";
}

TEST_F(RunningText, FullEdictLeavesParticlesAndSentenceEndsToThePlainMatch) {
    for (const char16_t* text : kPlainStands) {
        SCOPED_TRACE(traceOf(text));
        const CjkLookupResult result = lookUp(text, deinflecting());
        EXPECT_FALSE(result.deinflected.has_value()) << traceOf(result.deinflected->dictionaryForm);
    }
}

// A small store where the plain match and a conjugated reading compete.
class ReadingChoice : public ::testing::Test {
protected:
    CStoreBuilder build{Japanese};
};

TEST_F(ReadingChoice, KanaOfAWordWrittenWithKanjiDoNotReachOverAParticle) {
    build.line(u"に /(prt) at/in/(P)/", {u"に"});
    build.line(u"荷う [になう] /(v5u,vt) to carry on one's shoulder/", {u"荷う", u"になう"});
    // Found only through the reading of 荷う: the particle stands.
    EXPECT_FALSE(lookUp(u"になって", deinflecting()).deinflected.has_value());
    // A word usually written in kana reads past the particle.
    build.line(u"担う [になう] /(v5u,vt) (uk) to bear/(P)/", {u"になう"});
    const CjkLookupResult kana = lookUp(u"になって", deinflecting());
    ASSERT_TRUE(kana.deinflected.has_value());
    EXPECT_EQ(kana.deinflected->dictionaryForm, u"になう");
}

TEST_F(ReadingChoice, AllEntriesShowsAConjugatedReadingBesideAPlainMatchAsLong) {
    const LineNumber noun = build.line(u"持ち [もち] /(n) durability/(P)/", {u"持ち", u"もち"});
    const LineNumber verb = build.line(u"持つ [もつ] /(v5t) to hold/(P)/", {u"持つ", u"もつ"});
    const LineNumber rare = build.line(u"持ち [もち] /(n) (arch) a rare sense/", {u"持ち"});
    // Where the sentence goes on the verb comes first; at its end the noun, and the verb after it.
    EXPECT_EQ(lookUp(u"持ち、", deinflecting(true)).readings,
              (std::vector<ReadingEntry>{{verb, u"持ち ← 持つ (continuative)"}, {noun, u""}, {rare, u""}}));
    EXPECT_EQ(lookUp(u"持ち。", deinflecting(true)).readings,
              (std::vector<ReadingEntry>{{noun, u""}, {verb, u"持ち ← 持つ (continuative)"}, {rare, u""}}));
    const DisplayText shown = translateCapturedText(testing::testEngine().store(), captureFromText(u"持ち、"), false, deinflecting(true));
    EXPECT_EQ(shown.tooltipText,
              u"持ち ← 持つ (continuative)\r\n持つ [もつ mo·tsu] /(v5t) to hold/(P)/\r\n"
              u"持ち [もち mo·chi] /(n) durability/(P)/\r\n持ち [もち mo·chi] /(n) (arch) a rare sense/")
        << traceOf(shown.tooltipText);
}

}  // namespace
}  // namespace pelux
