// The band's menu commands and height buttons as each tab sends them: the core's command handler
// over the tab's band, its Text Color dialog and its page, and the loads they start.
#pragma once

#include <filesystem>

#include "band/band_commands.h"
#include "dictionary/load_environment.h"
#include "host/color_dialogs.h"
#include "host/native_channel.h"
#include "host/native_messages.h"
#include "host/tab_bands.h"
#include "platform/key_state.h"
#include "platform/message_pump.h"
#include "platform/settings_key.h"

namespace pelux {

// What a load started by a command polls while it runs, and where it reads its files.
struct LoadPorts {
    IMessagePump* pump = nullptr;
    IKeyState* keys = nullptr;
    std::filesystem::path directory;
};

class CTabCommands {
public:
    CTabCommands(CEngine& engine, CNativeChannel& channel, ISettingsKey& settings, CTabBands& bands,
                 CColorDialogs& colorDialogs, LoadPorts loads)
        : m_engine(engine), m_channel(channel), m_settings(settings), m_bands(bands), m_colorDialogs(colorDialogs),
          m_loads(std::move(loads)) {}

    // A load command returns when its load has ended; messages that arrive meanwhile are answered
    // through the pump. The Text Color command opens the tab's dialog and returns at once.
    void handle(const CommandMessage& message);
    // With "LoadAtStart" on: the remembered dictionary, its progress in every tab's band.
    void loadRememberedDictionary();
    void colorAnswered(const ColorAnswerMessage& message);
    // The tab's open dialog ends as Cancel.
    void tabClosed(int64_t tab);
    // Every open dialog ends as Cancel.
    void inputEnded();

private:
    class CTabBand;

    void send(const nlohmann::json& message);
    // The dialogs whose answers now take effect act on their tabs' bands.
    void applyEndedDialogs();
    // Every tab redraws its menu's check marks and its text colour from the shared record.
    void sendSharedSettings();

    CEngine& m_engine;
    CNativeChannel& m_channel;
    ISettingsKey& m_settings;
    CTabBands& m_bands;
    CColorDialogs& m_colorDialogs;
    LoadPorts m_loads;
};

}  // namespace pelux
