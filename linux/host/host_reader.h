// What the host adds for the reader's popup and the options page: the fields of a pointer reply
// that the band ignores, and the message with the reader's switches.
#pragma once

#include <cstdint>
#include <optional>

#include <nlohmann/json.hpp>

#include "band/band_settings.h"
#include "platform/settings_key.h"

namespace pelux {

// "lang" ("zh" or "ja") while a dictionary is loaded, so that the band and the popup choose
// glyph forms; and with "ReaderPopup" on, after a lookup, "popup": the number of characters
// matched, the band's colour and font size (the stored "FontSize" for a frame's popup; the top
// frame has the band's own), and whether pinyin tones are to be coloured.
void addReaderFields(nlohmann::json& reply, std::optional<int32_t> matchedLength, ISettingsKey& settings,
                     const BandSettings& record = bandSettings());

nlohmann::json readerSettingsMessage(const BandSettings& record = bandSettings());

}  // namespace pelux
