// The one in-memory store of the loaded dictionary: lines by number, per-character texts,
// the search index and the English stem and irregular-form tables.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace pelux {

enum DictionaryLanguage : int32_t { Chinese = 0, Japanese = 1, None = 2 };

using LineNumber = int32_t;
using LineList = std::vector<LineNumber>;

// Keys compare by unsigned 16-bit code units, which is what std::u16string's ordering does.
template <typename Value>
using KeyedMap = std::map<std::u16string, Value, std::less<>>;

class CDictionary {
public:
    DictionaryLanguage m_language = Chinese;
    std::map<LineNumber, std::u16string> m_lines;
    std::map<int32_t, std::u16string> m_charInfo;
    KeyedMap<LineList> m_index;
    KeyedMap<std::u16string> m_stems;
    KeyedMap<std::u16string> m_irregular;

    // Empties the index, the lines and the character texts; keeps stems and irregular forms.
    void resetForLoad(DictionaryLanguage language);
    // Appends the line to the key's list; with `collapse`, a repeat of the last number is dropped.
    void addToIndex(std::u16string_view key, LineNumber line, bool collapse);

    // The index entry of a key, created with an empty list when missing. Nodes of the map never
    // move, so a load may keep the iterator for as long as the store is not reset.
    KeyedMap<LineList>::iterator indexEntry(std::u16string_view key);

    // Reads create an empty entry for a missing key, and an empty value means "none".
    const LineList& entriesFor(std::u16string_view key);
    const std::u16string& lineText(LineNumber line);
    const std::u16string& charInfo(int32_t code);
    const std::u16string& stemTarget(std::u16string_view stem);
    const std::u16string& irregularForm(std::u16string_view form);

    void setLine(LineNumber line, std::u16string text);
    void setCharInfo(int32_t code, std::u16string text);
    void setStem(std::u16string_view stem, std::u16string word);
    void setIrregular(std::u16string_view form, std::u16string word);

    bool isLoaded() const { return !m_index.empty(); }

    // Guards the store between threads. Recursive because a load on a band's thread pumps
    // messages, and the pointer events it dispatches read the store on that same thread.
    std::recursive_mutex& mutex() { return m_mutex; }

private:
    // Line texts by number, pointing into m_lines: line numbers are dense, and every pointer
    // event reads several lines, so a read costs one index instead of a descent through the
    // map. Map nodes never move; the slots are dropped with the map in resetForLoad.
    std::vector<const std::u16string*> m_lineSlots;
    std::recursive_mutex m_mutex;
};

// The process-wide store.
CDictionary& theDictionary();

using DictionaryLock = std::lock_guard<std::recursive_mutex>;

}  // namespace pelux
