#include "dictionary/dictionary_inspection.h"

#include <algorithm>

namespace pelux {

bool CDictionaryInspection::hasLine(LineNumber line) const {
    const std::span<const LineSlot> lines = m_store.m_lineView;
    return line >= 0 && std::size_t(line) < lines.size() && lines[std::size_t(line)].at != kNoLine;
}

void CDictionaryInspection::clearStems(CDictionary& store) {
    store.m_stems.clear();
    store.m_loadStems.clear();
    store.m_isLoadStem.clear();
}

std::vector<std::u16string> CDictionaryInspection::keysInOrder() const {
    std::vector<std::u16string> keys;
    const IndexView& view = m_store.index();
    keys.reserve(view.entries.size());
    for (const IndexEntry& entry : view.entries) keys.emplace_back(view.keyOf(entry, m_store.m_lineTextView));
    std::sort(keys.begin(), keys.end());
    return keys;
}

std::map<int32_t, std::u16string> CDictionaryInspection::charInfoEntries() const {
    std::map<int32_t, std::u16string> entries;
    for (const CharSlot& slot : m_store.m_charView)
        entries.emplace(slot.code, m_store.m_charTextView.substr(slot.at, slot.length));
    return entries;
}

std::map<std::u16string, std::u16string, std::less<>> CDictionaryInspection::irregularEntries() const {
    std::map<std::u16string, std::u16string, std::less<>> entries;
    m_store.m_irregular.forEach([&](std::u16string_view form, std::u16string_view word) { entries.emplace(form, word); });
    return entries;
}

std::size_t CDictionaryInspection::bytesHeld() const {
    const CDictionary& s = m_store;
    s.applyWaitingAdds();
    return s.m_lineText.capacity() * sizeof(char16_t) + s.m_lineSlots.capacity() * sizeof(LineSlot) +
           s.m_charText.capacity() * sizeof(char16_t) + s.m_chars.capacity() * sizeof(CharSlot) + s.m_index.bytesHeld() +
           s.m_stems.bytesHeld() + s.m_loadStems.capacity() * sizeof(uint32_t) + s.m_isLoadStem.capacity() / 8 +
           s.m_irregular.bytesHeld() + s.m_charPlaces.capacity() * sizeof(uint16_t);
}

}  // namespace pelux
