// The reader's switches by name, as the options page sets them: each is "%d" in the settings
// key and a field of the settings record.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>

#include "band/band_settings.h"
#include "platform/settings_key.h"

namespace pelux {

struct ReaderSwitch {
    std::u16string_view name;
    std::atomic<int32_t> BandSettings::*field;
};

#define PELUX_COUNT_SWITCH(name, field, text) +1
inline constexpr std::size_t kReaderSwitchCount = 0 PELUX_READER_SWITCHES(PELUX_COUNT_SWITCH);
#undef PELUX_COUNT_SWITCH

// In the order the options page lists them.
const std::array<ReaderSwitch, kReaderSwitchCount>& readerSwitches();

// Sets the named switch to 1 or 0 and writes it as "%d". False, with nothing changed, when the
// name is not one of the reader's switches.
bool setReaderSwitch(std::u16string_view name, bool on, ISettingsKey& settings, BandSettings& record);

}  // namespace pelux
