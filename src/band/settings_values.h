// Text forms of the settings values: the names, the size limit of a read, the parse rules of each
// value and the colour conversion between the stored "#RRGGBB" text and the display colour.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "contract/extension_contract.h"
#include "platform/settings_key.h"

namespace pelux {

inline constexpr std::u16string_view kSettingUseToolTips = u"UseToolTips";
inline constexpr std::u16string_view kSettingShowSubWords = u"ShowSubWordTranslations";
inline constexpr std::u16string_view kSettingFontColor = u"FontColor";
inline constexpr std::u16string_view kSettingFontSize = u"FontSize";
inline constexpr std::u16string_view kSettingHeight = u"Height";
inline constexpr std::u16string_view kSettingWidth = u"Width";
// The reader's switches, "%d" like the two above: kSettingAllEntries and the rest of the table.
#define PELUX_SETTING_NAME(name, field, text) inline constexpr std::u16string_view kSetting##name = u"" #name;
PELUX_READER_SWITCHES(PELUX_SETTING_NAME)
#undef PELUX_SETTING_NAME

// A value is read into a buffer of this many bytes; text and terminating NUL are two bytes a
// character, and a value that does not fit counts as absent.
inline constexpr std::size_t kSettingReadBufferBytes = 100;

// Blue: the display colour is 0x00BBGGRR.
inline constexpr uint32_t kDefaultFontColor = 0xFF0000;
inline constexpr int32_t kDefaultFontHeight = -19;

// The value's text, or nullopt when it is missing or too long for the read buffer.
std::optional<std::u16string> readSettingText(ISettingsKey& key, std::u16string_view name);

// "%d" (and "%ld", which is 32 bits where the band was born): leading white space, an optional
// sign, decimal digits; whatever follows the digits is ignored. nullopt when no digit is found
// or the number does not fit 32 bits.
std::optional<int32_t> parseDecimalSetting(std::u16string_view text);
// "#%x": a hash sign first, then as "%x" reads: white space, optional sign, optional "0x",
// hexadecimal digits of either case.
std::optional<uint32_t> parseHashHexSetting(std::u16string_view text);

// Exchanges the lowest and third bytes: "#RRGGBB" number <-> display colour 0x00BBGGRR.
uint32_t swapRedBlue(uint32_t colour);
// "#%06X" of the exchanged colour: the text form the colour dialog shows.
std::u16string colorToText(uint32_t displayColour);
// The display colour of a "#RRGGBB" text, or nullopt when it does not parse.
std::optional<uint32_t> colorFromText(std::u16string_view text);

// "%d" of a number.
std::u16string decimalText(int32_t value);

}  // namespace pelux
