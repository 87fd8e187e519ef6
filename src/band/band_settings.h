// The band's settings record, and how it is read and handed down.
#pragma once

#include <atomic>
#include <cstdint>

#include "browser/pointer_switches.h"
#include "contract/extension_contract.h"
#include "platform/settings_key.h"

namespace pelux {

// Shared by every band of an engine. Atomic so that bands on different threads may read
// and toggle the switches without a data race; each field stands on its own.
struct BandSettings {
    std::atomic<int32_t> UseToolTips{0};
    std::atomic<int32_t> ShowSubWordTranslations{0};
    // Display colour 0x00BBGGRR.
    std::atomic<uint32_t> FontColor{0};
    // The reader's switches (AllEntries and the rest): each off (0) unless the user turned it on.
#define PELUX_SWITCH_FIELD(name, field, text) std::atomic<int32_t> name{0};
    PELUX_READER_SWITCHES(PELUX_SWITCH_FIELD)
#undef PELUX_SWITCH_FIELD
};

// Reads the remembered switches and the colour from the key into the record.
void readBandSettings(ISettingsKey& key, BandSettings& settings);

// The switches a pointer event follows, as the record holds them now.
PointerSwitches pointerSwitches(const BandSettings& settings);
ReaderOptions readerOptions(const BandSettings& settings);

}  // namespace pelux
