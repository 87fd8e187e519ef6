#include "host/native_host.h"

#include <cstdio>

#include "browser/pointer_capture.h"
#include "host/host_pointer.h"

namespace pelux {

CNativeHost::CNativeHost(CEngine& engine, CNativeChannel& channel, ISettingsKey& settings,
                         std::filesystem::path dictionaryDir, std::filesystem::path wordListPath)
    : m_engine(engine),
      m_channel(channel),
      m_tabBands(channel, settings, engine.settings()),
      m_readerSettings(channel, settings, engine),
      m_translations(channel, settings, engine.store()),
      m_commands(engine, channel, settings, m_tabBands, m_colorDialogs, LoadPorts{this, &m_keys, std::move(dictionaryDir)}),
      m_words(channel, std::move(wordListPath), m_lastCards) {}

int CNativeHost::run() {
    // The end of the input in the middle of a load is seen by the pump; the load runs on to
    // its end, and then this loop finds the input ended.
    m_commands.loadRememberedDictionary();
    while (std::optional<std::string> frame = m_channel.readMessage()) handleFrame(*frame);
    stopAnswering();
    // Dialogs still open end as Cancel: the settings stay as they are.
    m_commands.inputEnded();
    return 0;
}

void CNativeHost::handleFrame(const std::string& frame) {
    std::string error;
    const std::optional<InboundMessage> message = parseInboundMessage(frame, error);
    if (!message) {
        std::fprintf(stderr, "peluxbar: dropped a message (%s)\n", error.c_str());
        if (const std::optional<int64_t> tab = tabOfRefusedTranslation(frame)) m_translations.refuse(*tab);
        return;
    }
    try {
        std::visit([this](const auto& m) { route(m); }, *message);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "peluxbar: a message failed: %s\n", e.what());
    }
}

void CNativeHost::pumpMessages() {
    while (std::optional<std::string> frame = m_channel.takeWaitingMessage()) handleFrame(*frame);
    if (m_channel.inputEnded()) stopAnswering();
}

void CNativeHost::stopAnswering() {
    // A translation may wait on its service for half a minute; the host must not outlive the
    // browser by that much.
    m_translations.cancel();
}

void CNativeHost::route(const PointerMessage& message) {
    CCapturedEvent event(message);
    CPointerBandView band(m_tabBands.visible());
    PointerSwitches switches = pointerSwitches(m_engine.settings());
    switches.withCard = m_engine.settings().ReaderPopup != 0;
    handleMouseMove(m_engine.store(), event, band, switches);
    if (band.text()) m_tabBands.setText(message.tab, *band.text());
    ReaderFields fields = m_readerSettings.pointerFields(message.frame, band.matchedLength());
    if (fields.popup && band.card()) {
        CardData& card = *band.card();
        if (card.entries.empty()) {
            m_lastCards.forget(message.tab, message.frame);
        } else {
            m_lastCards.remember(message.tab, message.frame, message.seq, card.entries.front(), message.sentence);
        }
        fields.popup->card = std::move(card);
    }
    m_channel.send(pointerReplyText(message.tab, message.frame, message.seq, band.text(), event.element().title(), fields));
}

void CNativeHost::route(const BandRequestMessage& message) { send(bandStateReply(m_tabBands.draw(message))); }

void CNativeHost::route(const TabClosedMessage& message) {
    m_tabBands.forget(message.tab);
    m_translations.tabClosed(message.tab);
    m_keys.forgetTab(message.tab);
    m_commands.tabClosed(message.tab);
    m_lastCards.tabClosed(message.tab);
}

void CNativeHost::send(const nlohmann::json& message) { m_channel.send(serializeMessage(message)); }

}  // namespace pelux
