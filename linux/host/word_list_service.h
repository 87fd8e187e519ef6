// The host's side of the word list: a tab's card saves its word, and the options page lists,
// removes and exports them. The list is the file beside the settings; nothing here creates it
// but a word being saved.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>

#include "adapters/word_list_file.h"
#include "host/native_channel.h"
#include "host/native_messages.h"

namespace pelux {

// The word a tab's frame showed on its card for one pointer reply, with the sentence captured
// around it; url and time are left for the service to fill in.
using CardWordFinder = std::function<std::optional<WordEntry>(int64_t tab, int64_t frame, int64_t seq)>;

class CWordListService {
public:
    CWordListService(CNativeChannel& channel, std::filesystem::path path, CardWordFinder findCardWord)
        : m_channel(channel), m_file(std::move(path)), m_findCardWord(std::move(findCardWord)) {}

    void save(const SaveWordMessage& message);
    void list();
    void remove(const RemoveWordMessage& message);
    void exportWords(const ExportWordsMessage& message);

private:
    void sendList(std::optional<std::string> problem);
    void send(const nlohmann::json& message);

    CNativeChannel& m_channel;
    CWordListFile m_file;
    CardWordFinder m_findCardWord;
};

}  // namespace pelux
