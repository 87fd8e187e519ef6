// Index writes during one load. The ordered index is the store's; beside it the writer keeps a
// hash table of the keys it has met, so that a key seen before costs one probe instead of a
// descent through a tree of several hundred thousand keys. Results are exactly those of
// CDictionary::addToIndex and CDictionary::entriesFor.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "dictionary/dictionary.h"

namespace pelux {

class IndexWriter {
public:
    explicit IndexWriter(CDictionary& store);

    CDictionary& store() { return m_store; }
    void add(std::u16string_view key, LineNumber line, bool collapse);
    // Whether entriesFor(key) is non-empty; like entriesFor, leaves an empty entry behind.
    bool hasEntries(std::u16string_view key) { return !entry(key).empty(); }

private:
    using Node = KeyedMap<LineList>::value_type;
    struct Slot {
        uint64_t hash = 0;
        Node* node = nullptr;
    };

    LineList& entry(std::u16string_view key);
    void grow();

    CDictionary& m_store;
    std::vector<Slot> m_slots;
    std::size_t m_count = 0;
};

}  // namespace pelux
