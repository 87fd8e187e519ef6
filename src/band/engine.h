// What a shell holds for as long as it runs: the store and the band settings. Each shell owns
// one and hands it, or the part a function uses, to the core; the core keeps no store or
// settings of its own, so a test can hold as many engines as it likes.
#pragma once

#include <atomic>
#include <mutex>

#include "band/band_settings.h"
#include "dictionary/dictionary.h"
#include "platform/settings_key.h"

namespace pelux {

class CEngine {
public:
    CDictionary& store() { return m_store; }
    const CDictionary& store() const { return m_store; }
    BandSettings& settings() { return m_settings; }
    const BandSettings& settings() const { return m_settings; }
    // True for the first caller only: the first band to show text, which loads the remembered
    // dictionary for all that follow.
    bool claimFirstBand() { return !m_firstBandClaimed.exchange(true); }

private:
    friend void initEngine(CEngine& engine, ISettingsKey& key);

    CDictionary m_store;
    BandSettings m_settings;
    std::once_flag m_initialised;
    std::atomic<bool> m_firstBandClaimed{false};
};

// Does its work on the first call for `engine` only, and no caller returns before it is done:
// marks the store as holding no language and reads the settings record. The kana and tone-mark
// tables, which every engine reads, are filled on the first call of the process.
void initEngine(CEngine& engine, ISettingsKey& key);

}  // namespace pelux
