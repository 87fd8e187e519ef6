// The learner's card in the pointer reply, and the cards the host keeps for saving a word.
#include <gtest/gtest.h>

#include "adapters/utf8.h"
#include "host/last_cards.h"
#include "host/native_channel.h"
#include "host/native_replies.h"

namespace pelux {
namespace {

using nlohmann::json;

ReaderFields fieldsWith(CardData card) {
    ReaderFields fields;
    fields.language = card.japanese ? Japanese : Chinese;
    ReaderPopup& popup = fields.popup.emplace();
    popup.match = 2;
    popup.color = u"#000000";
    popup.fontPixels = 16;
    popup.card = std::move(card);
    return fields;
}

TEST(CardReply, CarriesTheCardAsPlainData) {
    CardData card;
    card.japanese = true;
    CardEntry entry;
    entry.forms = {u"日本"};
    entry.reading = u"にほん";
    entry.romaji = u"ni·ho·n";
    entry.common = true;
    entry.form = u"<b>\"x\"</b>";
    entry.senses = {{u"Japan\t\x01</script>", {u"n", u"uk"}}};
    card.entries.push_back(entry);
    CardChar day;
    day.character = u'日';
    day.readings = {{CardReading::Kind::On, u"ニチ"}, {CardReading::Kind::Kun, u"ひ"}};
    day.meanings = u"day; sun\U0001F600\xD800";
    day.strokes = 4;
    card.chars.push_back(day);

    const json reply = json::parse(serializeMessage(pointerReply(1, 0, 9, u"band", u"title", fieldsWith(card))));
    EXPECT_EQ(reply["text"], "band");
    EXPECT_EQ(reply["title"], "title");
    const json expected = json::parse(R"({"lang":"ja","savable":true,
        "entries":[{"forms":["日本"],"reading":"にほん","romaji":"ni·ho·n","common":true,"form":"<b>\"x\"</b>",
                    "senses":[{"text":"Japan\t\u0001</script>","tags":["n","uk"]}]}],
        "chars":[{"char":"日","code":26085,"readings":[{"kind":"on","text":"ニチ"},{"kind":"kun","text":"ひ"}],
                  "meanings":"day; sun😀\uFFFD","strokes":4,"grade":null,"jlpt":null,"freq":null}]})");
    EXPECT_EQ(reply["popup"]["card"], expected);
    EXPECT_EQ(reply["popup"]["match"], 2);

    // Without the card the reply is the one the popup had before it.
    const json plain = json::parse(serializeMessage(pointerReply(1, 0, 9, u"band", u"title", fieldsWith(CardData()))));
    EXPECT_EQ(plain["popup"]["card"], json::parse(R"({"lang":"zh","entries":[],"chars":[],"savable":false})"));
    ReaderFields noCard = fieldsWith(CardData());
    noCard.popup->card.reset();
    json classic = pointerReply(1, 0, 9, u"band", u"title");
    addReaderFields(classic, noCard);
    EXPECT_EQ(pointerReply(1, 0, 9, u"band", u"title", noCard), classic);

    // A text many times longer than the writer's buffer, every kind of unit crossing its flushes.
    std::u16string mixed;
    for (int i = 0; i < 200; ++i) mixed += u"a\x01\"字\U0001F600";
    CardData longCard;
    longCard.entries.emplace_back().senses = {{mixed, {}}};
    const json longReply = json::parse(pointerReplyText(1, 0, 9, u"", u"", fieldsWith(longCard)));
    EXPECT_EQ(longReply["popup"]["card"]["entries"][0]["senses"][0]["text"], utf16ToUtf8(mixed));
}

CardData bigCard(std::size_t entries, std::size_t chars, char16_t entryUnit, char16_t charUnit) {
    CardData card;
    for (std::size_t i = 0; i < entries; ++i) {
        CardEntry entry;
        entry.forms = {std::u16string(kMaxCardLabelUnits, entryUnit)};
        for (std::size_t s = 0; s < kMaxCardSenses; ++s) entry.senses.push_back({std::u16string(kMaxCardTextUnits, entryUnit), {}});
        card.entries.push_back(std::move(entry));
    }
    for (std::size_t i = 0; i < chars; ++i) {
        CardChar character;
        character.character = char16_t(u'一' + i);
        character.meanings = std::u16string(kMaxCardTextUnits, charUnit);
        card.chars.push_back(std::move(character));
    }
    return card;
}

TEST(CardReply, FitsOneMessageDroppingCharactersThenEntriesBeforeTheBandText) {
    const std::u16string controls(kMaxReplyTextUnits, u'\x01');  // six bytes each once escaped
    const std::u16string chinese(kMaxReplyTextUnits, u'中');
    const struct {
        const char* name;
        std::u16string band;
        CardData card;
        std::size_t entries, chars;  // what the card keeps
    } rows[] = {
        {"all fits", u"band", bigCard(2, kMaxCardChars, u'a', u'a'), 2, kMaxCardChars},
        {"characters give way", controls, bigCard(2, kMaxCardChars, u'a', u'\x01'), 2, 10},
        {"then entries", chinese, bigCard(kMaxCardEntries, kMaxCardChars, u'中', u'中'), 3, 0},
        {"nothing but the frame fits", controls, bigCard(1, kMaxCardChars, u'\x01', u'\x01'), 0, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string text = pointerReplyText(1, 0, 1, row.band, row.band, fieldsWith(row.card));
        EXPECT_LE(text.size(), kMaxOutboundMessageBytes);
        const json reply = json::parse(text);
        EXPECT_EQ(reply["text"], pointerReply(1, 0, 1, row.band, std::nullopt)["text"]) << "the band text is kept";
        const json& card = reply["popup"]["card"];
        ASSERT_TRUE(card.is_object());
        EXPECT_EQ(card["entries"].size(), row.entries);
        EXPECT_EQ(card["chars"].size(), row.chars);
        EXPECT_EQ(card["savable"], row.entries > 0);
    }
}

TEST(LastCards, FindsOnlyTheFramesLastCardUntilItsTabCloses) {
    CLastCards cards;
    CardEntry word;
    word.forms = {u"国"};
    cards.remember(1, 0, 5, word, u"国人。");
    cards.remember(1, 2, 6, word, u"sub");
    cards.remember(2, 0, 7, word, std::u16string(10000, u'字'));
    ASSERT_NE(cards.find(1, 0, 5), nullptr);
    EXPECT_EQ(cards.find(1, 0, 5)->sentence, u"国人。");
    EXPECT_EQ(cards.find(1, 0, 5)->entry, word);
    EXPECT_EQ(cards.find(1, 0, 4), nullptr) << "an older event's card is gone";
    EXPECT_EQ(cards.find(1, 2, 5), nullptr) << "another frame's";
    EXPECT_LE(cards.find(2, 0, 7)->sentence.size(), 4096u);
    cards.remember(1, 0, 8, word, u"next");
    EXPECT_EQ(cards.find(1, 0, 5), nullptr);
    cards.forget(1, 0);
    EXPECT_EQ(cards.find(1, 0, 8), nullptr);
    cards.tabClosed(1);
    EXPECT_EQ(cards.find(1, 2, 6), nullptr);
    EXPECT_NE(cards.find(2, 0, 7), nullptr);
    for (int frame = 0; frame < 10000; ++frame) cards.remember(3, frame, 1, word, u"");
    EXPECT_LE(cards.size(), 256u);
    EXPECT_NE(cards.find(3, 9999, 1), nullptr);
}

}  // namespace
}  // namespace pelux
