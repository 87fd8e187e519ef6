// The native messaging host: one thread reads each message of the extension's service worker,
// hands it to the service that owns what it is about, and the services reply. A dictionary load
// runs on this thread too, and answers the messages that wait meanwhile through its pump.
#pragma once

#include <filesystem>
#include <string>

#include "band/engine.h"
#include "host/channel_key_state.h"
#include "host/color_dialogs.h"
#include "host/host_translations.h"
#include "host/last_cards.h"
#include "host/native_channel.h"
#include "host/native_messages.h"
#include "host/reader_settings.h"
#include "host/tab_bands.h"
#include "host/tab_commands.h"
#include "host/word_list_service.h"
#include "platform/message_pump.h"
#include "platform/settings_key.h"

namespace pelux {

class CNativeHost : private IMessagePump {
public:
    // `engine` is the shell's, which it has initialised; the host reads and loads its store.
    // The word list is `wordListPath`, by default words.tsv beside the settings file.
    CNativeHost(CEngine& engine, CNativeChannel& channel, ISettingsKey& settings, std::filesystem::path dictionaryDir,
                std::filesystem::path wordListPath = defaultWordListPath());

    // Answers messages until the input ends; returns the exit code.
    int run();
    // One inbound frame: validated, handled, or logged and dropped.
    void handleFrame(const std::string& frame);

private:
    void pumpMessages() override;
    void route(const PointerMessage& message);
    void route(const CommandMessage& message) { m_commands.handle(message); }
    void route(const KeyMessage& message) { m_keys.onKey(message.tab, message.key, message.down); }
    void route(const ShowMessage& message) { m_tabBands.show(message.visible); }
    void route(const BandRequestMessage& message);
    void route(const BandClosedMessage& message) { m_tabBands.closed(message); }
    void route(const TabClosedMessage& message);
    void route(const ColorAnswerMessage& message) { m_commands.colorAnswered(message); }
    void route(const TranslateMessage& message) { m_translations.request(message.tab, message.text); }
    void route(const SetSettingMessage& message) { m_readerSettings.set(message); }
    void route(const ReaderSettingsRequest&) { m_readerSettings.sendToAll(); }
    void route(const NoticeClosedMessage& message) { m_translations.noticeClosed(message.tab, message.notice); }
    void route(const SaveWordMessage& message) { m_words.save(message); }
    void route(const ListWordsMessage&) { m_words.list(); }
    void route(const RemoveWordMessage& message) { m_words.remove(message); }
    void route(const ExportWordsMessage& message) { m_words.exportWords(message); }
    // The browser has gone: nothing it asked for is answered any more.
    void stopAnswering();
    void send(const nlohmann::json& message);

    CEngine& m_engine;
    CNativeChannel& m_channel;
    CChannelKeyState m_keys;
    CTabBands m_tabBands;
    CColorDialogs m_colorDialogs;
    CReaderSettings m_readerSettings;
    CHostTranslations m_translations;
    CTabCommands m_commands;
    CLastCards m_lastCards;
    CWordListService m_words;
};

}  // namespace pelux
