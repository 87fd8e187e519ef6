#include "band/settings_values.h"

#include <gtest/gtest.h>

#include "fake_settings_key.h"

namespace pelux {
namespace {

struct DecimalRow {
    const char* name;
    std::u16string text;
    std::optional<int32_t> expected;
};

TEST(ParseDecimalSetting, ReadsAsScanfDoes) {
    const DecimalRow rows[] = {
        {"plain", u"120", 120},
        {"negative font height", u"-27", -27},
        {"leading spaces and plus", u"  +45", 45},
        {"trailing text is ignored", u"800px", 800},
        {"tab before the number", u"\t7", 7},
        {"empty", u"", std::nullopt},
        {"letters first", u"abc", std::nullopt},
        {"sign alone", u"-", std::nullopt},
        {"largest 32-bit", u"2147483647", 2147483647},
        {"smallest 32-bit", u"-2147483648", INT32_MIN},
        {"too large for 32 bits", u"2147483648", std::nullopt},
        {"far too large", u"99999999999999999999", std::nullopt},
        {"full-width digits are not digits", u"\uFF11\uFF12", std::nullopt},
    };
    for (const DecimalRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parseDecimalSetting(row.text), row.expected);
    }
}

struct ColorRow {
    const char* name;
    std::u16string text;
    std::optional<uint32_t> display;
};

TEST(ColorFromText, ExchangesRedAndBlue) {
    const ColorRow rows[] = {
        {"red", u"#FF0000", 0x0000FFu},
        {"blue", u"#0000FF", 0xFF0000u},
        {"lower-case green", u"#00ff00", 0x00FF00u},
        {"mixed", u"#123456", 0x563412u},
        {"short form is a number", u"#F", 0x0F0000u},
        {"0x prefix as %x allows", u"#0x00FF00", 0x00FF00u},
        {"no hash sign", u"FF0000", std::nullopt},
        {"hash alone", u"#", std::nullopt},
        {"not hexadecimal", u"#GG0000", std::nullopt},
        {"colour name", u"red", std::nullopt},
    };
    for (const ColorRow& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(colorFromText(row.text), row.display);
    }
}

TEST(ColorToText, GivesTheDialogTextOfTheDisplayColour) {
    EXPECT_EQ(colorToText(0xFF0000), u"#0000FF");
    EXPECT_EQ(colorToText(0x0000FF), u"#FF0000");
    EXPECT_EQ(colorToText(0x563412), u"#123456");
    EXPECT_EQ(colorToText(0), u"#000000");
    for (uint32_t colour : {0x000000u, 0x0000FFu, 0xABCDEFu, 0xFFFFFFu}) {
        EXPECT_EQ(colorFromText(colorToText(colour)), colour);
    }
}

TEST(ReadSettingText, TreatsAValueTooLongForTheBufferAsAbsent) {
    testing::CFakeSettingsKey key;
    key.values[u"FontColor"] = std::u16string(150, u'7');
    key.values[u"Height"] = std::u16string(49, u'1');
    key.values[u"Width"] = std::u16string(50, u'1');
    EXPECT_EQ(readSettingText(key, u"FontColor"), std::nullopt);
    EXPECT_TRUE(readSettingText(key, u"Height").has_value());  // 49 characters and the NUL fit
    EXPECT_EQ(readSettingText(key, u"Width"), std::nullopt);
    EXPECT_EQ(readSettingText(key, u"Missing"), std::nullopt);
}

TEST(ReadSettingText, StopsAtAnEmbeddedNul) {
    testing::CFakeSettingsKey key;
    key.values[u"UseToolTips"] = std::u16string(u"1\0 junk", 7);
    EXPECT_EQ(readSettingText(key, u"UseToolTips"), u"1");
}

}  // namespace
}  // namespace pelux
