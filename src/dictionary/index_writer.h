// Index writes during one load. The ordered maps are the store's; beside the index and the stem
// table the writer keeps hash tables of the keys it has met, so that a key seen before costs one
// probe instead of a descent through a tree of several hundred thousand keys. Results are
// exactly those of CDictionary::addToIndex, CDictionary::entriesFor and CDictionary::setStem.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary.h"

namespace pelux {

// Open addressing over nodes of an ordered map. Map nodes never move, so the table stays valid
// while the map only grows (the store is not reset during the load that owns the writer).
template <typename Value>
class NodeTable {
public:
    using Node = typename KeyedMap<Value>::value_type;

    explicit NodeTable(std::size_t initialSlots) : m_slots(initialSlots) {}
    // The node of `key`, found in the table or else in (or added to) `map`.
    Node& find(KeyedMap<Value>& map, std::u16string_view key);

private:
    struct Slot {
        uint64_t hash = 0;
        Node* node = nullptr;
    };
    void grow();

    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
};

class IndexWriter {
public:
    // `fileCharacters`: the size of the file being indexed, from which the tables are sized.
    IndexWriter(CDictionary& store, std::size_t fileCharacters);

    CDictionary& store() { return m_store; }
    void add(std::u16string_view key, LineNumber line, bool collapse);
    // Whether entriesFor(key) is non-empty; like entriesFor, leaves an empty entry behind.
    bool hasEntries(std::u16string_view key) { return !m_index.find(m_store.m_index, key).second.empty(); }
    void setStem(std::u16string_view stem, std::u16string_view word) { m_stems.find(m_store.m_stems, stem).second = word; }

private:
    CDictionary& m_store;
    NodeTable<LineList> m_index;
    NodeTable<std::u16string> m_stems;
};

}  // namespace pelux
