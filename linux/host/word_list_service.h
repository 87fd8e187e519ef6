// The host's side of the word list: a tab's card saves its word, and the options page lists,
// removes and exports them. The list is the file beside the settings; nothing here creates it
// but a word being saved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

#include "adapters/word_list_file.h"
#include "host/last_cards.h"
#include "host/native_channel.h"
#include "host/native_messages.h"

namespace pelux {

class CWordListService {
public:
    // `cards` are the cards each frame showed last, whose first entry a tab may save.
    CWordListService(CNativeChannel& channel, std::filesystem::path path, const CLastCards& cards)
        : m_channel(channel), m_file(std::move(path)), m_cards(cards) {}

    void save(const SaveWordMessage& message);
    void list();
    void remove(const RemoveWordMessage& message);
    void exportWords(const ExportWordsMessage& message);

private:
    void sendList(std::optional<std::string> problem);
    void send(const nlohmann::json& message);

    CNativeChannel& m_channel;
    CWordListFile m_file;
    const CLastCards& m_cards;
};

}  // namespace pelux
