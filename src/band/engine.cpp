#include "band/engine.h"

#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"

namespace pelux {

void initEngine(CEngine& engine, ISettingsKey& key) {
    static std::once_flag tablesFilled;
    std::call_once(tablesFilled, [] {
        initKanaRomajiTable();
        initToneMarkTable();
    });
    std::call_once(engine.m_initialised, [&engine, &key] {
        {
            DictionaryLock lock(engine.m_store.mutex());
            engine.m_store.setLanguage(None);
        }
        readBandSettings(key, engine.m_settings);
    });
}

}  // namespace pelux
