#include "host/word_list_service.h"

#include <cstdio>
#include <ctime>

#include "adapters/utf8.h"
#include "host/native_replies.h"

namespace pelux {

namespace {

WordEntry wordOfCard(const LastCard& card) {
    WordEntry word;
    std::vector<std::string> forms;
    for (const std::u16string& form : card.entry.forms) forms.push_back(utf16ToUtf8(form));
    word.forms = joinForms(forms);
    word.reading = utf16ToUtf8(card.entry.reading);
    std::vector<WordSense> senses;
    for (const CardSense& sense : card.entry.senses) {
        WordSense& kept = senses.emplace_back();
        kept.text = utf16ToUtf8(sense.text);
        for (const std::u16string& tag : sense.tags) kept.tags.push_back(utf16ToUtf8(tag));
    }
    word.senses = joinSenses(senses);
    word.sentence = utf16ToUtf8(card.sentence);
    return word;
}

}  // namespace

void CWordListService::save(const SaveWordMessage& message) {
    const LastCard* card = m_cards.find(message.tab, message.frame, message.seq);
    std::optional<WordEntry> word;
    if (card != nullptr) word = wordOfCard(*card);
    if (!word) {
        send(wordSavedReply(message.tab, message.frame, false, u"The card has changed; point at the word again to save it."));
        return;
    }
    word->url = stripQueryAndFragment(utf16ToUtf8(message.url));
    word->time = isoUtcTime(static_cast<int64_t>(std::time(nullptr)));
    bool added = false;
    std::string problem;
    const bool written = m_file.update([&](std::vector<WordEntry>& entries) { return added = addWord(entries, *word); }, problem);
    if (!written) {
        std::fprintf(stderr, "peluxbar: the word was not saved: %s\n", problem.c_str());
        send(wordSavedReply(message.tab, message.frame, false, utf8ToUtf16Lenient("Not saved: " + problem + ".")));
        return;
    }
    send(wordSavedReply(message.tab, message.frame, added, utf8ToUtf16Lenient(added ? kWordSavedText : kWordAlreadySavedText)));
}

void CWordListService::list() { sendList(std::nullopt); }

void CWordListService::remove(const RemoveWordMessage& message) {
    const std::string forms = utf16ToUtf8(message.forms);
    const auto index = static_cast<std::size_t>(message.index);
    std::string problem;
    // A list without that word is left alone, and a missing one is not made.
    const std::optional<std::vector<WordEntry>> entries = m_file.read(problem);
    bool removed = entries && index < entries->size() && (*entries)[index].forms == forms;
    if (removed) {
        removed = false;
        if (!m_file.update([&](std::vector<WordEntry>& held) { return removed = removeWord(held, index, forms); }, problem))
            std::fprintf(stderr, "peluxbar: the word was not removed: %s\n", problem.c_str());
    }
    if (!removed && problem.empty()) problem = "The list has changed meanwhile; nothing was removed.";
    sendList(problem.empty() ? std::nullopt : std::optional<std::string>(problem));
}

void CWordListService::exportWords(const ExportWordsMessage& message) {
    std::string problem;
    const std::optional<std::vector<WordEntry>> entries = m_file.read(problem);
    if (!entries) {
        send(wordExportReply(message.format, "", problem));
        return;
    }
    send(wordExportReply(message.format, message.format == "csv" ? exportAsCsv(*entries) : exportForAnki(*entries),
                         std::nullopt));
}

void CWordListService::sendList(std::optional<std::string> problem) {
    std::string readProblem;
    const std::optional<std::vector<WordEntry>> entries = m_file.read(readProblem);
    if (!entries) {
        send(wordListReply({}, readProblem));
        return;
    }
    send(wordListReply(*entries, std::move(problem)));
}

void CWordListService::send(const nlohmann::json& message) { m_channel.send(serializeMessage(message)); }

}  // namespace pelux
