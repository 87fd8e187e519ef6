#include "dictionary/key_index.h"

#include <algorithm>
#include <bit>

namespace pelux {

uint32_t keyHash(std::u16string_view key) {
    uint64_t h = 0xCBF29CE484222325ull ^ key.size();
    for (char16_t c : key) h = (h ^ c) * 0x100000001B3ull;
    return uint32_t(h ^ (h >> 29));
}

std::u16string_view IndexView::keyOf(const IndexEntry& entry, std::u16string_view lineText) const {
    if (entry.keyRef & kPoolKey)
        return std::u16string_view(pool.data() + (entry.keyRef & ~kPoolKey), entry.keyLength);
    return lineText.substr(entry.keyRef, entry.keyLength);
}

const IndexEntry* IndexView::find(std::u16string_view key, std::u16string_view lineText) const {
    if (slots.empty()) return nullptr;
    const uint32_t hash = keyHash(key);
    const IndexEntry* found = nullptr;
    probeSlots(slots, hash, [&](uint64_t slot) {
        if (slot == 0) return true;
        if (uint32_t(slot >> 32) != hash) return false;
        const IndexEntry& entry = entries[uint32_t(slot) - 1];
        if (keyOf(entry, lineText) != key) return false;
        found = &entry;
        return true;
    });
    return found;
}

bool IndexView::isConsistent(std::size_t lineTextSize) const {
    if (slots.empty()) return entries.empty() && lists.empty();
    if (!std::has_single_bit(slots.size()) || entries.size() >= slots.size()) return false;
    std::size_t free = 0;
    for (uint64_t slot : slots) {
        if (slot == 0) {
            ++free;
            continue;
        }
        const uint32_t entry = uint32_t(slot);
        if (entry == 0 || entry > entries.size() || entries[entry - 1].hash != uint32_t(slot >> 32)) return false;
    }
    if (free == 0) return false;  // a probe must always end
    for (const IndexEntry& entry : entries) {
        const bool inPool = entry.keyRef & kPoolKey;
        const uint64_t keyEnd = uint64_t(entry.keyRef & ~kPoolKey) + entry.keyLength;
        if (keyEnd > (inPool ? pool.size() : lineTextSize)) return false;
        if (uint64_t(entry.first) + entry.count > lists.size()) return false;
    }
    return true;
}

void CKeyIndex::clear() {
    m_slots = {};
    m_entries = {};
    m_lastLines = {};
    m_pool = {};
    m_postings = {};
    m_lists = {};
    m_packed = true;
}

void CKeyIndex::reserve(std::size_t keys) {
    const std::size_t slots = std::bit_ceil(std::max<std::size_t>(keys * 2, 16));
    if (slots <= m_slots.size()) return;
    // `keys` is an estimate: room beyond it costs address space only, while outgrowing it
    // copies the arrays into fresh memory, whose first touch is the dear part of a load.
    const std::size_t room = keys + keys / 4;
    m_entries.reserve(room);
    m_lastLines.reserve(room);
    m_postings.reserve(room * 2);
    m_slots.assign(slots / 2, 0);  // grow() doubles it and places the entries already held
    grow();
}

void CKeyIndex::grow() { m_slots = slotsHolding(m_entries, std::max<std::size_t>(m_slots.size() * 2, 16)); }

IndexEntry& CKeyIndex::findOrAdd(std::u16string_view key, uint32_t hash, std::u16string_view lineText) {
    if ((m_entries.size() + 1) * 2 > m_slots.size()) grow();
    const IndexView current = view();
    IndexEntry* found = nullptr;
    // The table is at most half full (see above), so the probe finds the key or a free slot.
    const std::size_t i = probeSlots(m_slots, hash, [&](uint64_t slot) {
        if (slot == 0) return true;
        if (uint32_t(slot >> 32) != hash) return false;
        IndexEntry& entry = m_entries[uint32_t(slot) - 1];
        if (current.keyOf(entry, lineText) != key) return false;
        found = &entry;
        return true;
    });
    if (found) return *found;
    IndexEntry entry{hash, 0, uint32_t(key.size()), 0, 0};
    const bool inText = !lineText.empty() && key.data() >= lineText.data() &&
                        key.data() + key.size() <= lineText.data() + lineText.size() &&
                        std::size_t(key.data() - lineText.data()) < kPoolKey;
    if (inText) {
        entry.keyRef = uint32_t(key.data() - lineText.data());
    } else {
        entry.keyRef = uint32_t(m_pool.size()) | kPoolKey;
        m_pool.insert(m_pool.end(), key.begin(), key.end());
    }
    m_entries.push_back(entry);
    m_lastLines.push_back(0);
    m_slots[i] = slotOf(hash, m_entries.size() - 1);
    return m_entries.back();
}

void CKeyIndex::add(std::u16string_view key, LineNumber line, bool collapse, std::u16string_view lineText) {
    if (m_packed) unpack();
    addHashed(key, keyHash(key), line, collapse, lineText);
}

void CKeyIndex::addAll(std::span<const Add> adds, std::u16string_view lineText) {
    if (adds.empty()) return;
    if (m_packed) unpack();
    if ((m_entries.size() + adds.size()) * 2 > m_slots.size()) reserve(m_entries.size() + adds.size());
    constexpr std::size_t kAhead = 64;
    uint32_t hashes[kAhead];
    for (std::size_t start = 0; start < adds.size(); start += kAhead) {
        const std::size_t count = std::min(kAhead, adds.size() - start);
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t i = 0; i < count; ++i) {
            hashes[i] = keyHash(adds[start + i].key);
            __builtin_prefetch(&m_slots[hashes[i] & mask]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            const uint64_t slot = m_slots[hashes[i] & mask];
            if (slot != 0) __builtin_prefetch(&m_entries[uint32_t(slot) - 1]);
        }
        for (std::size_t i = 0; i < count; ++i) {
            const Add& add = adds[start + i];
            addHashed(add.key, hashes[i], add.line, add.collapse, lineText);
        }
    }
}

void CKeyIndex::addHashed(std::u16string_view key, uint32_t hash, LineNumber line, bool collapse,
                         std::u16string_view lineText) {
    IndexEntry& entry = findOrAdd(key, hash, lineText);
    const auto number = uint32_t(&entry - m_entries.data());
    if (collapse && entry.count > 0 && m_lastLines[number] == line) return;
    m_postings.push_back(Posting{line, number});
    m_lastLines[number] = line;
    ++entry.count;
}

void CKeyIndex::pack() {
    if (m_packed) return;
    // Each entry's slice starts after those of the entries before it; the postings, taken in the
    // order they came, then fill the slices in order.
    std::vector<uint32_t> next(m_entries.size());
    uint32_t start = 0;
    for (std::size_t n = 0; n < m_entries.size(); ++n) {
        m_entries[n].first = next[n] = start;
        start += m_entries[n].count;
    }
    std::vector<LineNumber> lists(start);
    for (const Posting& posting : m_postings) lists[next[posting.entry]++] = posting.line;
    m_lists.swap(lists);
    m_postings = {};
    m_lastLines = {};
    m_packed = true;
}

void CKeyIndex::unpack() {
    m_postings.clear();
    m_postings.reserve(m_lists.size());
    m_lastLines.assign(m_entries.size(), 0);
    for (std::size_t n = 0; n < m_entries.size(); ++n) {
        const IndexEntry& entry = m_entries[n];
        for (uint32_t k = 0; k < entry.count; ++k) m_postings.push_back(Posting{m_lists[entry.first + k], uint32_t(n)});
        if (entry.count > 0) m_lastLines[n] = m_lists[entry.first + entry.count - 1];
    }
    m_lists = {};
    m_packed = false;
}

void CKeyIndex::assign(const IndexView& view) {
    clear();
    m_slots.assign(view.slots.begin(), view.slots.end());
    m_entries.assign(view.entries.begin(), view.entries.end());
    m_pool.assign(view.pool.begin(), view.pool.end());
    m_lists.assign(view.lists.begin(), view.lists.end());
}

IndexView CKeyIndex::view() const {
    return IndexView{m_slots, m_entries, m_pool, m_packed ? std::span<const LineNumber>(m_lists) : std::span<const LineNumber>()};
}

std::size_t CKeyIndex::bytesHeld() const {
    return m_slots.capacity() * sizeof(uint64_t) + m_entries.capacity() * sizeof(IndexEntry) +
           m_lastLines.capacity() * sizeof(LineNumber) + m_pool.capacity() * sizeof(char16_t) +
           m_postings.capacity() * sizeof(Posting) + m_lists.capacity() * sizeof(LineNumber);
}

}  // namespace pelux
