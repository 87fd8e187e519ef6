#include "adapters/utf8.h"

#include <gtest/gtest.h>

namespace pelux {
namespace {

TEST(Utf8, RoundTripsChineseJapaneseAndAstralText) {
    const std::string text = "中国人 にほん don't \xF0\x9F\x98\x80";
    const auto wide = utf8ToUtf16(text);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(wide->substr(0, 3), u"中国人");
    EXPECT_EQ(utf16ToUtf8(*wide), text);
}

TEST(Utf8, RejectsMalformedInput) {
    for (const char* bad : {"\xC3", "\xE4\xB8", "\x80", "\xC0\xAF", "\xED\xA0\x80", "\xF8\x88\x80\x80\x80", "a\xFFz"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(utf8ToUtf16(bad).has_value());
    }
}

TEST(Utf8, LoneSurrogateBecomesReplacementCharacter) {
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t(0xD800)) + u"a"), "\xEF\xBF\xBD" "a");
}

}  // namespace
}  // namespace pelux

namespace pelux {
namespace {

TEST(Utf8, LenientDecodingReplacesEachBadByteAndGoesOn) {
    EXPECT_EQ(utf8ToUtf16Lenient("a\xFF" "b\xE4\xB8" "\xE4\xB8\xAD"), u"a\uFFFDb\uFFFD\uFFFD中");
    EXPECT_EQ(utf8ToCodePointsLenient("\xF0\x9F\x98\x80\xC0\xAF"), U"\U0001F600\uFFFD\uFFFD");
    EXPECT_EQ(utf8ToUtf16Lenient("中文"), u"中文");
}

}  // namespace
}  // namespace pelux
