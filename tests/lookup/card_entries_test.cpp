// The card's entries as data: the dictionary line grammar, and the card against the band text of
// the same lookup, over a built store, the bundled files and (when given) the full dictionaries.
#include "lookup/card_entries.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "adapters/platform_linux.h"
#include "browser/pointer_road.h"
#include "dictionary/kanji_table.h"
#include "dictionary/loaders.h"
#include "lookup/kana_romaji.h"
#include "lookup/line_rendering.h"
#include "lookup/pinyin.h"
#include "support/store_builder.h"
#include "support/test_engine.h"
#include "support/text_trace.h"

namespace pelux {
namespace {

// An entry in one line: forms, reading, romaji, "P" when common, then each sense with its tags.
std::u16string describe(const CardEntry& entry) {
    std::u16string out;
    for (const std::u16string& form : entry.forms) out += (out.empty() ? u"" : u",") + form;
    out += u"|" + entry.reading + u"|" + entry.romaji + u"|" + (entry.common ? u"P" : u"");
    for (const CardSense& sense : entry.senses) {
        out += u"|";
        if (!sense.tags.empty()) {
            out += u"(";
            for (size_t i = 0; i < sense.tags.size(); ++i) out += (i ? u"," : u"") + sense.tags[i];
            out += u") ";
        }
        out += sense.text;
    }
    return out;
}

TEST(CardEntryOfLine, SplitsFormsReadingsSensesAndTags) {
    initKanaRomajiTable();
    const struct {
        bool japanese;
        const char16_t* line;
        const char16_t* expected;
    } rows[] = {
        {true, u"行く [いく] /(v5k-s,vi) (1) to go/to move/(2) (vt) to proceed/(aux-v) (3) (uk) to continue/(P)/\r\n",
         u"行く|いく|i·ku|P|(v5k-s,vi) to go; to move|(vt) to proceed|(aux-v,uk) to continue"},
        {true, u"日本語 [にほんご] /(n) Japanese (language)/", u"日本語|にほんご|ni·ho·n·go||(n) Japanese (language)"},
        {true, u"カタカナ /(n) katakana/", u"カタカナ|カタカナ|ka·ta·ka·na||(n) katakana"},
        {true, u"犬 [いぬ] /(n,uk) {zool} dog/(See 猫) not a cat/EntL1000X/", u"犬|いぬ|i·nu||(n,uk,zool) dog; (See 猫) not a cat"},
        {true, u"何;なに [なに] /(int) what/", u"何,なに|なに|na·ni||(int) what"},
        {true, u"no slash after blanks", u"no|||"},
        {false, u"中國 中国 [Zhōng guó] /China/CL:個|个[gè]/\r", u"中国,中國|Zhōng guó|||China|CL:個|个[gè]"},
        {false, u"人 人 [rén] /person/ people /", u"人|rén|||person|people"},
        {false, u"孤 [gu1] /alone/", u"孤|gu1|||alone"},
        {false, u"lonely", u"lonely|||"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(traceOf(row.line));
        const std::u16string rendered = row.japanese ? renderJapaneseLine(row.line) : std::u16string(row.line);
        EXPECT_EQ(traceOf(describe(cardEntryOfLine(rendered, row.line, row.japanese))), traceOf(row.expected));
    }
}

TEST(CardEntryOfLine, KeepsEveryTextWithinItsBound) {
    const std::u16string longWord(5000, u'字');
    const std::u16string line = longWord + u" " + longWord + u" [" + longWord + u"] /" + longWord + u"/" +
                                std::u16string(100, u'/') + [] {
                                    std::u16string senses;
                                    for (int i = 0; i < 100; ++i) senses += u"s/";
                                    return senses;
                                }();
    const CardEntry entry = cardEntryOfLine(line, line, false);
    ASSERT_EQ(entry.forms.size(), 1u);
    EXPECT_EQ(entry.forms[0].size(), kMaxCardLabelUnits);
    EXPECT_EQ(entry.reading.size(), kMaxCardLabelUnits);
    ASSERT_EQ(entry.senses.size(), kMaxCardSenses);
    EXPECT_EQ(entry.senses[0].text.size(), kMaxCardTextUnits);
    // A cut never leaves half of a surrogate pair.
    std::u16string pairs;
    for (int i = 0; i < 3000; ++i) pairs += u"\U00020000";
    const CardEntry astral = cardEntryOfLine(u"x x [y] /a" + pairs + u"/", u"", false);
    const std::u16string& text = astral.senses.at(0).text;
    EXPECT_EQ(text.size(), kMaxCardTextUnits - 1);
    EXPECT_FALSE(text.back() >= 0xD800 && text.back() <= 0xDBFF);
}

CardData cardOf(std::u16string captured, const ReaderOptions& reader, DisplayText* shown = nullptr) {
    std::optional<CardData> card;
    const DisplayText display =
        translateCapturedText(testing::testEngine().store(), captureFromText(std::move(captured)), true, reader, &card);
    if (shown != nullptr) *shown = display;
    return card.value_or(CardData());
}

TEST(CardData, KanjiOfTheMatchedWordCarryTheirFacts) {
    CStoreBuilder build(Japanese);
    build.line(u"日本 [にほん] /(n) Japan/(P)/\r\n", {u"日本"});
    build.line(u"日日 [ひび] /(n) daily/\r\n", {u"日日"});
    build.charInfo(u'日', u"{day} {sun}");
    build.charInfo(u'本', u"{book}");
    CKanjiTable& kanji = testing::testEngine().store().kanjiTable();
    kanji.clear();
    kanji.addLine(U'日', u"日 U65e5 G1 S4 F1 J4 ニチ ジツ ひ -び {day} {sun}");
    kanji.finish();

    const CardData card = cardOf(u"日本は", {});
    EXPECT_TRUE(card.japanese);
    ASSERT_EQ(card.entries.size(), 1u);
    EXPECT_EQ(describe(card.entries[0]), u"日本|にほん|ni·ho·n|P|(n) Japan");
    ASSERT_EQ(card.chars.size(), 2u);
    EXPECT_EQ(cardOf(u"日日", {}).chars.size(), 1u) << "each distinct character of the match once";
    const CardChar& day = card.chars[0];
    EXPECT_EQ(day.character, u'日');
    EXPECT_EQ(day.meanings, u"day; sun");
    EXPECT_EQ(day.readings, (std::vector<CardReading>{{CardReading::Kind::On, u"ニチ"}, {CardReading::Kind::On, u"ジツ"},
                                                      {CardReading::Kind::Kun, u"ひ"}, {CardReading::Kind::Kun, u"-び"}}));
    EXPECT_EQ(std::vector<std::optional<int32_t>>({day.strokes, day.grade, day.frequency, day.jlpt}),
              std::vector<std::optional<int32_t>>({4, 1, 1, 4}));
    const CardChar& book = card.chars[1];
    EXPECT_EQ(book.meanings, u"book");
    EXPECT_TRUE(book.readings.empty());
    EXPECT_FALSE(book.strokes.has_value());

    // Nothing matched: no entry to save, and the character under the pointer alone.
    const CardData none = cardOf(u"本は", {});
    EXPECT_FALSE(none.savable());
    ASSERT_EQ(none.chars.size(), 1u);
    EXPECT_EQ(none.chars[0].character, u'本');
    kanji.clear();
}

std::filesystem::path bundledDirectory() { return std::filesystem::path(PELUX_SOURCE_DIR) / "data"; }

void load(DictionaryLanguage language, const std::filesystem::path& directory) {
    registerLinuxPlatform();
    initKanaRomajiTable();
    initToneMarkTable();
    LoadEnvironment environment;
    environment.directory = directory;
    ASSERT_TRUE(language == Chinese ? loadChineseDictionary(testing::testEngine().store(), environment)
                                    : loadJapaneseDictionary(testing::testEngine().store(), environment));
}

// Every entry of the card is one the band shows, with the same reading and form line, in order.
void expectCardFollowsBand(const CardData& card, const DisplayText& shown) {
    size_t at = 0;
    for (const CardEntry& entry : card.entries) {
        if (entry.form) {
            at = shown.bandText.find(*entry.form, at);
            ASSERT_NE(at, std::u16string::npos) << traceOf(*entry.form);
        }
        at = shown.bandText.find(u"[" + entry.reading, at);
        ASSERT_NE(at, std::u16string::npos) << traceOf(entry.reading);
        if (!entry.romaji.empty()) {
            EXPECT_NE(shown.bandText.find(entry.romaji + u"]", at), std::u16string::npos);
        }
        for (const CardSense& sense : entry.senses) EXPECT_NE(shown.bandText.find(sense.text.substr(0, sense.text.find(u';')), at), std::u16string::npos);
    }
}

TEST(CardData, BundledDictionariesGiveTheBandsEntriesUnderEveryOption) {
    const struct {
        DictionaryLanguage language;
        const char16_t* captured;
        size_t entries;
    } rows[] = {
        {Chinese, u"中国人很多", 1}, {Chinese, u"会计", 1}, {Chinese, u"很", 1},
        // Found under their dictionary forms only when deinflecting.
        {Japanese, u"食べました。", 0}, {Japanese, u"日本語を話す", 1}, {Japanese, u"行った", 0},
    };
    for (DictionaryLanguage language : {Chinese, Japanese}) {
        load(language, bundledDirectory());
        for (int options = 0; options < 16; ++options) {
            ReaderOptions reader;
            reader.allEntries = options & 1;
            reader.standardPinyin = options & 2;
            reader.hepburnRomaji = options & 4;
            reader.deinflect = options & 8;
            for (const auto& row : rows) {
                if (row.language != language) continue;
                SCOPED_TRACE(traceOf(row.captured) + " options " + std::to_string(options));
                DisplayText shown;
                const CardData card = cardOf(row.captured, reader, &shown);
                EXPECT_GE(card.entries.size(), row.entries);
                expectCardFollowsBand(card, shown);
                EXPECT_FALSE(card.chars.empty());
            }
        }
    }
    ReaderOptions deinflecting;
    deinflecting.deinflect = true;
    const CardData eaten = cardOf(u"食べました。", deinflecting);
    ASSERT_FALSE(eaten.entries.empty());
    EXPECT_EQ(eaten.entries[0].form.value_or(u""), u"食べました ← 食べる (polite past)");
    EXPECT_EQ(describe(eaten.entries[0]), u"食べる|たべる|ta·be·ru||(v1) to eat");
    ASSERT_FALSE(eaten.chars.empty());
    EXPECT_EQ(eaten.chars[0].meanings, u"food; to eat");
    EXPECT_EQ(eaten.chars[0].readings.front().kind, CardReading::Kind::On);

    load(Chinese, bundledDirectory());
    ReaderOptions standard;
    standard.standardPinyin = true;
    const CardData chinese = cardOf(u"中国人很多", standard);
    ASSERT_FALSE(chinese.chars.empty());
    EXPECT_EQ(chinese.chars[0].readings.at(0).kind, CardReading::Kind::Mandarin);
    EXPECT_EQ(chinese.chars[0].readings.at(0).text, u"zhōng");
    EXPECT_EQ(chinese.chars[0].readings.at(1).kind, CardReading::Kind::Cantonese);
}

TEST(CardData, FullCedictGivesEveryEntryOfACharacter) {
    const char* full = std::getenv("PELUXBAR_FULL_DICT_DIR");
    if (full == nullptr || !std::filesystem::exists(std::filesystem::path(full) / "cedict_ts.uni")) {
        GTEST_SKIP() << "set PELUXBAR_FULL_DICT_DIR to a folder made by `peluxbar dict build`";
    }
    load(Chinese, full);
    ReaderOptions every;
    every.allEntries = true;
    DisplayText shown;
    const CardData card = cardOf(u"国", every, &shown);
    EXPECT_GE(card.entries.size(), 2u);
    expectCardFollowsBand(card, shown);
    EXPECT_EQ(card.entries[0].forms.at(0), u"国");
}

}  // namespace
}  // namespace pelux
