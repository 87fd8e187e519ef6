// The reader's switches as the options page sets them, and what the reader's popup is told with
// each pointer reply, chosen from the settings and the loaded dictionary.
#pragma once

#include <cstdint>
#include <optional>

#include "band/engine.h"
#include "host/native_channel.h"
#include "host/native_messages.h"
#include "platform/settings_key.h"

namespace pelux {

class CReaderSettings {
public:
    CReaderSettings(CNativeChannel& channel, ISettingsKey& settings, CEngine& engine)
        : m_channel(channel), m_settings(settings), m_engine(engine) {}

    // A switch is stored, and everyone learns the switches as they are now.
    void set(const SetSettingMessage& message);
    // Every tab and the options page learn the reader's switches as they are now.
    void sendToAll();

    // The loaded dictionary's language, so that the band and the popup choose glyph forms; and
    // with "ReaderPopup" on, after a lookup, the popup: the number of characters matched, the
    // band's colour and font size (the stored "FontSize" for a frame's popup; the top frame has
    // the band's own), and whether pinyin tones are to be coloured.
    ReaderFields pointerFields(int64_t frame, std::optional<int32_t> matchedLength);

private:
    CNativeChannel& m_channel;
    ISettingsKey& m_settings;
    CEngine& m_engine;
};

}  // namespace pelux
