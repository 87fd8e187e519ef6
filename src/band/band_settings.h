// The band's settings record, and how it is read and handed down.
#pragma once

#include <atomic>
#include <cstdint>

#include "browser/pointer_switches.h"
#include "platform/settings_key.h"

namespace pelux {

// Shared by every band of an engine. Atomic so that bands on different threads may read
// and toggle the switches without a data race; each field stands on its own.
struct BandSettings {
    std::atomic<int32_t> UseToolTips{0};
    std::atomic<int32_t> ShowSubWordTranslations{0};
    // Display colour 0x00BBGGRR.
    std::atomic<uint32_t> FontColor{0};
    // The reader's switches: each off (0) unless the user turned it on.
    std::atomic<int32_t> AllEntries{0};
    std::atomic<int32_t> StandardPinyin{0};
    std::atomic<int32_t> HepburnRomaji{0};
    std::atomic<int32_t> Deinflect{0};
    std::atomic<int32_t> ReaderPopup{0};
    std::atomic<int32_t> LoadAtStart{0};
};

// Reads the remembered switches and the colour from the key into the record.
void readBandSettings(ISettingsKey& key, BandSettings& settings);

// The switches a pointer event follows, as the record holds them now.
PointerSwitches pointerSwitches(const BandSettings& settings);
ReaderOptions readerOptions(const BandSettings& settings);

}  // namespace pelux
