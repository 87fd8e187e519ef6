#include "dictionary/string_table.h"

#include <algorithm>

#include "dictionary/key_index.h"

namespace pelux {

uint32_t CStringTable::keyHashOf(std::u16string_view key) { return keyHash(key); }

void CStringTable::clear() {
    m_slots = {};
    m_entries = {};
    m_pool = {};
}

uint32_t CStringTable::append(std::u16string_view text) {
    const auto at = uint32_t(m_pool.size());
    m_pool.insert(m_pool.end(), text.begin(), text.end());
    return at;
}

std::size_t CStringTable::findSlot(std::u16string_view key, uint32_t hash) const {
    if (m_slots.empty()) return kMissing;
    const std::size_t i = probeSlots(m_slots, hash, [&](uint64_t slot) {
        if (slot == 0) return true;
        if (uint32_t(slot >> 32) != hash) return false;
        const Entry& entry = m_entries[uint32_t(slot) - 1];
        return text(entry.keyAt, entry.keyLength) == key;
    });
    return i == kNoSlot || m_slots[i] == 0 ? kMissing : i;
}

void CStringTable::grow() { m_slots = slotsHolding(m_entries, std::max<std::size_t>(m_slots.size() * 2, 64)); }

uint32_t CStringTable::set(std::u16string_view key, std::u16string_view value) {
    const uint32_t hash = keyHashOf(key);
    const std::size_t slot = findSlot(key, hash);
    if (slot != kMissing) {
        const uint32_t number = uint32_t(m_slots[slot]) - 1;
        Entry& entry = m_entries[number];
        if (text(entry.valueAt, entry.valueLength) == value) return number;
        if (value.size() <= entry.valueLength) {
            std::copy(value.begin(), value.end(), m_pool.begin() + entry.valueAt);
        } else {
            entry.valueAt = append(value);
        }
        entry.valueLength = uint32_t(value.size());
        return number;
    }
    if ((m_entries.size() + 1) * 2 > m_slots.size()) grow();
    const uint32_t keyAt = append(key);
    const uint32_t valueAt = append(value);
    m_entries.push_back(Entry{hash, keyAt, uint32_t(key.size()), valueAt, uint32_t(value.size())});
    placeInSlots(m_slots, hash, m_entries.size() - 1);
    return uint32_t(m_entries.size() - 1);
}

std::u16string_view CStringTable::get(std::u16string_view key) const {
    const std::size_t slot = findSlot(key, keyHashOf(key));
    if (slot == kMissing) return {};
    const Entry& entry = m_entries[uint32_t(m_slots[slot]) - 1];
    return text(entry.valueAt, entry.valueLength);
}

std::size_t CStringTable::bytesHeld() const {
    return m_slots.capacity() * sizeof(uint64_t) + m_entries.capacity() * sizeof(Entry) +
           m_pool.capacity() * sizeof(char16_t);
}

}  // namespace pelux
