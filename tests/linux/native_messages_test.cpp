#include "host/native_messages.h"

#include <gtest/gtest.h>

namespace pelux {
namespace {

TEST(ParseInboundMessage, ReadsAPointerMessage) {
    std::string error;
    const auto parsed = parseInboundMessage(
        R"({"type":"pointer","tab":7,"frame":0,"seq":12,"x":120,"y":-4,"character":"国",)"
        R"("word":"国","sentence":"国人很多。","hasBody":true})",
        error);
    ASSERT_TRUE(parsed.has_value()) << error;
    const auto& pointer = std::get<PointerMessage>(*parsed);
    EXPECT_EQ(pointer.tab, 7);
    EXPECT_EQ(pointer.seq, 12);
    EXPECT_EQ(pointer.y, -4);
    EXPECT_EQ(pointer.character, u"国");
    EXPECT_EQ(pointer.sentence, u"国人很多。");
}

TEST(ParseInboundMessage, AcceptsAPointerWithNoCharacter) {
    std::string error;
    const auto parsed = parseInboundMessage(
        R"({"type":"pointer","tab":1,"frame":3,"seq":1,"x":0,"y":0,"character":null,"word":"","sentence":"","hasBody":false})",
        error);
    ASSERT_TRUE(parsed.has_value()) << error;
    EXPECT_FALSE(std::get<PointerMessage>(*parsed).character.has_value());
    EXPECT_FALSE(std::get<PointerMessage>(*parsed).hasBody);
}

TEST(ParseInboundMessage, DropsEveryMalformedOrUnknownMessage) {
    struct Row {
        const char* name;
        std::string frame;
    };
    const Row rows[] = {
        {"not JSON", "{\"type\":"},
        {"empty", ""},
        {"an array", "[1,2]"},
        {"no type", R"({"tab":1})"},
        {"type not a string", R"({"type":5})"},
        {"unknown type", R"({"type":"format-disk"})"},
        {"missing field", R"({"type":"command","tab":1,"id":32772})"},
        {"id as text", R"({"type":"command","tab":1,"id":"32772","bandHeight":40})"},
        {"fraction", R"({"type":"command","tab":1,"id":32772.5,"bandHeight":40})"},
        {"negative command", R"({"type":"command","tab":1,"id":-1,"bandHeight":40})"},
        {"coordinate beyond 32 bits", R"({"type":"pointer","tab":1,"frame":0,"seq":1,"x":4294967296,"y":0,"character":"a","word":"a","sentence":"","hasBody":true})"},
        {"character too long", R"({"type":"pointer","tab":1,"frame":0,"seq":1,"x":1,"y":0,"character":"abc","word":"a","sentence":"","hasBody":true})"},
        {"word not a string", R"({"type":"pointer","tab":1,"frame":0,"seq":1,"x":1,"y":0,"character":"a","word":7,"sentence":"","hasBody":true})"},
        {"boolean as number", R"({"type":"show","visible":1})"},
        {"huge band", R"({"type":"band","tab":1,"width":99999999,"height":40})"},
        {"bad UTF-8", std::string("{\"type\":\"key\",\"tab\":1,\"key\":\"\xff\",\"down\":true}")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::string error;
        EXPECT_FALSE(parseInboundMessage(row.frame, error).has_value());
        EXPECT_FALSE(error.empty());
    }
}

TEST(ParseInboundMessage, CutsALongWordOrSentenceInsteadOfDroppingTheEvent) {
    const std::string pair = "\xF0\x9F\x98\x80";  // two code units
    nlohmann::json message = {{"type", "pointer"}, {"tab", 1}, {"frame", 0}, {"seq", 1}, {"x", 1}, {"y", 1},
                              {"character", "a"}, {"word", std::string(5000, 'a')},
                              {"sentence", std::string(kMaxCapturedUnits - 1, 'b') + pair + "tail"}, {"hasBody", true}};
    std::string error;
    const auto parsed = parseInboundMessage(message.dump(), error);
    ASSERT_TRUE(parsed.has_value()) << error;
    EXPECT_EQ(std::get<PointerMessage>(*parsed).word, std::u16string(kMaxCapturedUnits, u'a'));
    EXPECT_EQ(std::get<PointerMessage>(*parsed).sentence, std::u16string(kMaxCapturedUnits - 1, u'b'));
}

TEST(ParseInboundMessage, ErrorsRepeatASendersTextOnOneLine) {
    std::string error;
    EXPECT_FALSE(parseInboundMessage(R"({"type":"x\ny\u001b[2J\\"})", error).has_value());
    EXPECT_EQ(error, "unknown type \"x\\x0Ay\\x1B[2J\\x5C\"");
    EXPECT_FALSE(parseInboundMessage(nlohmann::json{{"type", std::string(1000, 'z')}}.dump(), error).has_value());
    EXPECT_LT(error.size(), 120u);
}

TEST(PointerReply, BandAndTooltipTogetherAlwaysFitOneMessageTheTooltipCutFirst) {
    struct Row {
        const char* name;
        std::u16string band, title;
        std::size_t bandUnits, titleUnits;  // what each keeps
    };
    const std::u16string controls(kMaxReplyTextUnits, u'\x01');  // six bytes each once escaped
    const std::u16string chinese(kMaxReplyTextUnits, u'中');
    const Row rows[] = {
        {"both fit", chinese, chinese, kMaxReplyTextUnits, kMaxReplyTextUnits},
        {"the tooltip gives way", controls, controls, kMaxReplyTextUnits, (1024 * 1024 - 512) / 6 - kMaxReplyTextUnits},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string reply = serializeMessage(pointerReply(1, 0, 1, row.band, row.title));
        EXPECT_LE(reply.size(), 1024u * 1024u);
        const nlohmann::json parsed = nlohmann::json::parse(reply);
        EXPECT_EQ(parsed["text"].get<std::string>().size(), row.bandUnits * (row.band[0] == u'中' ? 3 : 1));
        EXPECT_EQ(parsed["title"].get<std::string>().size(), row.titleUnits * (row.title[0] == u'中' ? 3 : 1));
    }
}

TEST(TextForReply, CutsTooLongTextsWithoutSplittingAPair) {
    std::u16string text(kMaxReplyTextUnits - 1, u'a');
    text += u"\U0001F600";  // the pair straddles the limit
    text += u"tail";
    const std::string cut = textForReply(text);
    EXPECT_EQ(cut, std::string(kMaxReplyTextUnits - 1, 'a'));
    // Even a text of control characters, six bytes each once escaped, fits the browser's limit.
    const std::string reply = serializeMessage(textReply(1, std::u16string(kMaxReplyTextUnits * 2, u'\x01')));
    EXPECT_LT(reply.size(), 1024u * 1024u);
}

TEST(BandStateReply, CarriesLayoutColourAndMenu) {
    BandState state;
    state.tab = 3;
    state.width = 500;
    state.height = 40;
    state.layout = layoutBand({0, 0, 500, 40});
    state.fontPixels = 19;
    state.fontColor = u"#0000FF";
    BandSettings settings;
    settings.UseToolTips = 1;
    state.menu = bandMenu(settings);
    const nlohmann::json reply = bandStateReply(state);
    EXPECT_EQ(reply["type"], "bandState");
    EXPECT_EQ(reply["layout"]["bigger"], nlohmann::json::array({476, 21, 24, 19}));
    EXPECT_EQ(reply["fontColor"], "#0000FF");
    EXPECT_EQ(reply["menu"].size(), 17u);
    EXPECT_EQ(reply["menu"][13]["checked"], true);
    EXPECT_EQ(reply["menu"][12]["items"][0]["items"][1]["id"], 32787);
}

}  // namespace
}  // namespace pelux
