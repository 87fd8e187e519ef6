#include "host/reader_settings.h"

#include <cstdio>

#include "adapters/utf8.h"
#include "band/band_geometry.h"
#include "band/band_settings.h"
#include "band/load_at_start.h"
#include "band/reader_switches.h"
#include "band/settings_values.h"
#include "dictionary/dictionary.h"
#include "host/native_replies.h"
#include "host/tab_bands.h"

namespace pelux {

namespace {

std::optional<DictionaryLanguage> loadedLanguage(const CDictionary& store) {
    DictionaryLock lock(store.mutex());
    if (!store.isLoaded()) return std::nullopt;
    return store.language();
}

}  // namespace

void CReaderSettings::set(const SetSettingMessage& message) {
    if (!setReaderSwitch(message.name, message.value != 0, m_settings, m_engine.settings())) {
        std::fprintf(stderr, "peluxbar: \"%s\" is not a reader setting\n", utf16ToUtf8(message.name).c_str());
        return;
    }
    if (message.name == kSettingLoadAtStart && message.value != 0) rememberDictionaryInMemory(m_settings, m_engine.store());
    sendToAll();
}

void CReaderSettings::sendToAll() { m_channel.send(serializeMessage(readerSettingsMessage(m_engine.settings()))); }

ReaderFields CReaderSettings::pointerFields(int64_t frame, std::optional<int32_t> matchedLength) {
    const BandSettings& record = m_engine.settings();
    ReaderFields fields;
    fields.language = loadedLanguage(m_engine.store());
    if (record.ReaderPopup == 0 || !matchedLength) return fields;
    // The top frame's popup takes its band's own font; only a frame's popup needs the stored one,
    // and the settings file is not read on every move for nothing.
    const int32_t fontHeight = frame == 0 ? kDefaultFontHeight : bandFontHeight(m_settings, kDefaultGuiFontHeight);
    ReaderPopup& popup = fields.popup.emplace();
    popup.match = *matchedLength;
    popup.color = colorToText(record.FontColor);
    popup.fontPixels = fontPixelHeight(fontHeight);
    popup.tones = record.StandardPinyin != 0 && fields.language == Chinese;
    return fields;
}

}  // namespace pelux
