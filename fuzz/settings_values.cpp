// The settings values' parse rules: a text read from the settings store, parsed as each value
// is, checked against the C library's own "%d" and "%x" reading, and used as the band uses it.
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <string>

#include "band/band_geometry.h"
#include "band/band_settings.h"
#include "band/settings_values.h"
#include "support/fuzz_support.h"

using namespace pelux;
using namespace pelux::fuzzing;

namespace {

// The text as a C string when every unit is ASCII and none is NUL; otherwise there is nothing
// to compare with.
std::optional<std::string> asciiOf(std::u16string_view text) {
    std::string ascii;
    for (char16_t unit : text) {
        if (unit == 0 || unit > 0x7F) return std::nullopt;
        ascii.push_back(char(unit));
    }
    return ascii;
}

void checkDecimal(std::u16string_view text) {
    const std::optional<int32_t> parsed = parseDecimalSetting(text);
    if (parsed && parseDecimalSetting(decimalText(*parsed)) != parsed) violated("a number does not survive its text");
    const std::optional<std::string> ascii = asciiOf(text);
    if (!ascii) return;
    errno = 0;
    char* end = nullptr;
    const long long expected = std::strtoll(ascii->c_str(), &end, 10);
    if (end == ascii->c_str()) {
        if (parsed) violated("a decimal text without digits parsed");
    } else if (errno == 0 && expected >= std::numeric_limits<int32_t>::min() &&
               expected <= std::numeric_limits<int32_t>::max()) {
        if (parsed != int32_t(expected)) violated("a decimal text parsed unlike strtoll");
    }
}

void checkHex(std::u16string_view text) {
    const std::optional<uint32_t> parsed = parseHashHexSetting(text);
    const std::optional<std::string> ascii = asciiOf(text);
    if (!ascii || ascii->empty() || (*ascii)[0] != '#') {
        if (parsed && (text.empty() || text[0] != u'#')) violated("a colour without '#' parsed");
        return;
    }
    const char* digits = ascii->c_str() + 1;
    errno = 0;
    char* end = nullptr;
    const unsigned long long expected = std::strtoull(digits, &end, 16);
    if (end == digits) {
        if (parsed) violated("a colour text without digits parsed");
        return;
    }
    // strtoull negates in 64 bits; "%x" keeps the low 32 of a magnitude that fits 32 bits.
    const bool negative = ascii->find('-') < size_t(end - ascii->c_str());
    const unsigned long long magnitude = negative ? 0 - expected : expected;
    if (errno == 0 && magnitude <= std::numeric_limits<uint32_t>::max() && parsed != uint32_t(expected))
        violated("a colour text parsed unlike strtoull");
}

// The settings record and the band's size and font from a store holding the text
// under every name.
void useAsEverySetting(const std::u16string& text) {
    CMemorySettings settings;
    for (std::u16string_view name : {kSettingUseToolTips, kSettingShowSubWords, kSettingFontColor, kSettingFontSize,
                                     kSettingHeight, kSettingWidth})
        settings.values[std::u16string(name)] = text;
    const std::optional<std::u16string> read = readSettingText(settings, kSettingFontSize);
    if (read && (read->size() + 1) * 2 > kSettingReadBufferBytes) violated("a value past the buffer was read");

    BandSettings record;
    readBandSettings(settings, record);
    const uint32_t colour = record.FontColor;
    if (colour <= 0xFFFFFF && colorFromText(colorToText(colour)) != colour) violated("a colour does not survive its text");
    const BandSize size = savedBandSize(settings);
    layoutBand({0, 0, size.width, size.height});
    fontPixelHeight(bandFontHeight(settings, -11));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::u16string text = textOf(bytesOf(data, size));
    checkDecimal(text);
    checkHex(text);
    useAsEverySetting(text);
    return 0;
}
