// What the host tells the reader's popup with each pointer reply, chosen from the settings and
// the loaded dictionary.
#pragma once

#include <cstdint>
#include <optional>

#include "band/band_settings.h"
#include "host/native_replies.h"
#include "platform/settings_key.h"

namespace pelux {

// The loaded dictionary's language, so that the band and the popup choose glyph forms; and with
// "ReaderPopup" on, after a lookup, the popup: the number of characters matched, the band's
// colour and font size (the stored "FontSize" for a frame's popup; the top frame has the band's
// own), and whether pinyin tones are to be coloured.
ReaderFields readerFields(int64_t frame, std::optional<int32_t> matchedLength, ISettingsKey& settings,
                          const BandSettings& record = bandSettings());

}  // namespace pelux
