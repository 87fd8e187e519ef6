#include "dictionary/dictionary.h"

namespace pelux {

namespace {

template <typename Value>
typename KeyedMap<Value>::iterator findOrCreate(KeyedMap<Value>& map, std::u16string_view key) {
    auto it = map.lower_bound(key);
    if (it == map.end() || std::u16string_view(it->first) != key) it = map.emplace_hint(it, std::u16string(key), Value());
    return it;
}

template <typename Value>
Value& readOrCreate(KeyedMap<Value>& map, std::u16string_view key) {
    return findOrCreate(map, key)->second;
}

// Lines arrive in ascending order during a load: appending at the end needs no search.
template <typename Key, typename Value>
Value& assignAt(std::map<Key, Value>& map, Key key, Value value) {
    if (map.empty() || std::prev(map.end())->first < key) return map.emplace_hint(map.end(), key, std::move(value))->second;
    Value& slot = map[key];
    slot = std::move(value);
    return slot;
}

template <typename Key, typename Value>
Value& readOrCreate(std::map<Key, Value>& map, Key key) {
    return map[key];
}

}  // namespace

void CDictionary::resetForLoad(DictionaryLanguage language) {
    m_index.clear();
    m_lines.clear();
    m_lineSlots.clear();
    m_charInfo.clear();
    m_language = language;
}

KeyedMap<LineList>::iterator CDictionary::indexEntry(std::u16string_view key) { return findOrCreate(m_index, key); }

void CDictionary::addToIndex(std::u16string_view key, LineNumber line, bool collapse) {
    LineList& list = readOrCreate(m_index, key);
    if (collapse && !list.empty() && list.back() == line) return;
    list.push_back(line);
}

const LineList& CDictionary::entriesFor(std::u16string_view key) { return readOrCreate(m_index, key); }
const std::u16string& CDictionary::lineText(LineNumber line) {
    const auto slot = static_cast<size_t>(line);
    if (line >= 0 && slot < m_lineSlots.size() && m_lineSlots[slot]) return *m_lineSlots[slot];
    return readOrCreate(m_lines, line);
}
const std::u16string& CDictionary::charInfo(int32_t code) { return readOrCreate(m_charInfo, code); }
const std::u16string& CDictionary::stemTarget(std::u16string_view stem) { return readOrCreate(m_stems, stem); }
const std::u16string& CDictionary::irregularForm(std::u16string_view form) { return readOrCreate(m_irregular, form); }

void CDictionary::setLine(LineNumber line, std::u16string text) {
    const std::u16string& stored = assignAt(m_lines, line, std::move(text));
    if (line < 0) return;
    const auto slot = static_cast<size_t>(line);
    if (slot >= m_lineSlots.size()) m_lineSlots.resize(slot + 1, nullptr);
    m_lineSlots[slot] = &stored;
}
void CDictionary::setCharInfo(int32_t code, std::u16string text) { assignAt(m_charInfo, code, std::move(text)); }
void CDictionary::setStem(std::u16string_view stem, std::u16string word) { readOrCreate(m_stems, stem) = std::move(word); }
void CDictionary::setIrregular(std::u16string_view form, std::u16string word) {
    readOrCreate(m_irregular, form) = std::move(word);
}

CDictionary& theDictionary() {
    static CDictionary store;
    return store;
}

}  // namespace pelux
