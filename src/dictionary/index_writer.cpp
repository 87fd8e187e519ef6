#include "dictionary/index_writer.h"

#include <algorithm>
#include <bit>
#include <functional>

namespace pelux {

namespace {
// Dictionary lines run to a few dozen characters and give one to three keys each, so one slot
// per 16 characters keeps the table under half full without growing.
std::size_t indexSlotsFor(std::size_t fileCharacters) {
    return std::clamp<std::size_t>(std::bit_floor(fileCharacters / 16 + 1), 1024, std::size_t(1) << 22);
}

template <typename Value>
typename KeyedMap<Value>::iterator findOrAdd(KeyedMap<Value>& map, std::u16string_view key) {
    auto it = map.lower_bound(key);
    if (it == map.end() || std::u16string_view(it->first) != key) it = map.emplace_hint(it, std::u16string(key), Value());
    return it;
}
}  // namespace

template <typename Value>
typename NodeTable<Value>::Node& NodeTable<Value>::find(KeyedMap<Value>& map, std::u16string_view key) {
    const uint64_t hash = std::hash<std::u16string_view>{}(key);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    for (; m_slots[i].node; i = (i + 1) & mask) {
        if (m_slots[i].hash == hash && std::u16string_view(m_slots[i].node->first) == key) return *m_slots[i].node;
    }
    // Not met yet in this load; the map may hold it all the same (a reader may have added it
    // while the load pumped messages).
    Node& node = *findOrAdd(map, key);
    m_slots[i] = Slot{hash, &node};
    if (++m_count * 2 > m_slots.size()) grow();
    return node;
}

template <typename Value>
void NodeTable<Value>::grow() {
    std::vector<Slot> old(m_slots.size() * 2);
    old.swap(m_slots);
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot& slot : old) {
        if (!slot.node) continue;
        std::size_t i = slot.hash & mask;
        while (m_slots[i].node) i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

template class NodeTable<LineList>;
template class NodeTable<std::u16string>;

IndexWriter::IndexWriter(CDictionary& store, std::size_t fileCharacters)
    : m_store(store), m_index(indexSlotsFor(fileCharacters)), m_stems(indexSlotsFor(fileCharacters) / 16) {}

void IndexWriter::add(std::u16string_view key, LineNumber line, bool collapse) {
    LineList& list = m_index.find(m_store.m_index, key).second;
    if (collapse && !list.empty() && list.back() == line) return;
    list.push_back(line);
}

}  // namespace pelux
