#include "host/host_reader.h"

#include <cstdio>

#include "adapters/utf8.h"
#include "band/band_geometry.h"
#include "band/load_at_start.h"
#include "band/reader_switches.h"
#include "band/settings_values.h"
#include "dictionary/dictionary.h"
#include "host/host.h"

namespace pelux {

namespace {

std::optional<DictionaryLanguage> loadedLanguage() {
    DictionaryLock lock(theDictionary().mutex());
    if (!theDictionary().isLoaded()) return std::nullopt;
    return theDictionary().language();
}

}  // namespace

void addReaderFields(nlohmann::json& reply, std::optional<int32_t> matchedLength, ISettingsKey& settings,
                     const BandSettings& record) {
    const std::optional<DictionaryLanguage> language = loadedLanguage();
    if (language == Chinese || language == Japanese) reply["lang"] = language == Chinese ? "zh" : "ja";
    if (record.ReaderPopup == 0 || !matchedLength) return;
    // The top frame's popup takes its band's own font; only a frame's popup needs the stored one,
    // and the settings file is not read on every move for nothing.
    const bool topFrame = reply.value("frame", int64_t{0}) == 0;
    const int32_t fontHeight = topFrame ? kDefaultFontHeight : bandFontHeight(settings, kDefaultGuiFontHeight);
    reply["popup"] = {{"match", *matchedLength},
                      {"color", utf16ToUtf8(colorToText(record.FontColor))},
                      {"fontPixels", fontPixelHeight(fontHeight)},
                      {"tones", record.StandardPinyin != 0 && language == Chinese}};
}

nlohmann::json readerSettingsMessage(const BandSettings& record) {
    nlohmann::json values = nlohmann::json::object();
    // Any nonzero stored number is on, as the switch's readers take it.
    for (const ReaderSwitch& s : readerSwitches()) values[utf16ToUtf8(s.name)] = (record.*s.field).load() != 0 ? 1 : 0;
    return {{"type", "readerSettings"}, {"values", values}};
}

void CNativeHost::handle(const SetSettingMessage& message) {
    if (!setReaderSwitch(message.name, message.value != 0, m_settings)) {
        std::fprintf(stderr, "peluxbar: \"%s\" is not a reader setting\n", utf16ToUtf8(message.name).c_str());
        return;
    }
    if (message.name == kSettingLoadAtStart && message.value != 0) rememberDictionaryInMemory(m_settings);
    sendReaderSettings();
}

void CNativeHost::handle(const ReaderSettingsRequest&) { sendReaderSettings(); }

void CNativeHost::sendReaderSettings() { send(readerSettingsMessage()); }

}  // namespace pelux
