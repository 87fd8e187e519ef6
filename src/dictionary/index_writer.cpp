#include "dictionary/index_writer.h"

#include <functional>

namespace pelux {

namespace {
constexpr std::size_t kInitialSlots = std::size_t(1) << 18;
}

IndexWriter::IndexWriter(CDictionary& store) : m_store(store), m_slots(kInitialSlots) {}

void IndexWriter::add(std::u16string_view key, LineNumber line, bool collapse) {
    LineList& list = entry(key);
    if (collapse && !list.empty() && list.back() == line) return;
    list.push_back(line);
}

LineList& IndexWriter::entry(std::u16string_view key) {
    const uint64_t hash = std::hash<std::u16string_view>{}(key);
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    for (; m_slots[i].node; i = (i + 1) & mask) {
        if (m_slots[i].hash == hash && std::u16string_view(m_slots[i].node->first) == key) return m_slots[i].node->second;
    }
    // Not met yet in this load: the store finds it or adds it (another reader may have added it
    // while the load pumped messages).
    Node& node = *m_store.indexEntry(key);
    m_slots[i] = Slot{hash, &node};
    if (++m_count * 2 > m_slots.size()) grow();
    return node.second;
}

void IndexWriter::grow() {
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

}  // namespace pelux
