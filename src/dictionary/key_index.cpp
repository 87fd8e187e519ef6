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
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const uint64_t slot = slots[i];
        if (slot == 0) return nullptr;
        if (uint32_t(slot >> 32) != hash) continue;
        const IndexEntry& entry = entries[uint32_t(slot) - 1];
        if (keyOf(entry, lineText) == key) return &entry;
    }
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
    m_tails = {};
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
    m_tails.reserve(room);
    m_postings.reserve(room * 2);
    m_slots.assign(slots / 2, 0);  // grow() doubles it and places the entries already held
    grow();
}

void CKeyIndex::grow() {
    std::vector<uint64_t> slots(std::max<std::size_t>(m_slots.size() * 2, 16), 0);
    const std::size_t mask = slots.size() - 1;
    for (std::size_t n = 0; n < m_entries.size(); ++n) {
        std::size_t i = m_entries[n].hash & mask;
        while (slots[i] != 0) i = (i + 1) & mask;
        slots[i] = slotOf(m_entries[n].hash, n);
    }
    m_slots.swap(slots);
}

IndexEntry& CKeyIndex::findOrAdd(std::u16string_view key, uint32_t hash, std::u16string_view lineText) {
    if ((m_entries.size() + 1) * 2 > m_slots.size()) grow();
    const IndexView current = view();
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    for (; m_slots[i] != 0; i = (i + 1) & mask) {
        if (uint32_t(m_slots[i] >> 32) != hash) continue;
        IndexEntry& entry = m_entries[uint32_t(m_slots[i]) - 1];
        if (current.keyOf(entry, lineText) == key) return entry;
    }
    IndexEntry entry{hash, 0, uint32_t(key.size()), kNoPosting, 0};
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
    m_tails.push_back(kNoPosting);
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
    uint32_t& tail = m_tails[std::size_t(&entry - m_entries.data())];
    if (collapse && tail != kNoPosting && m_postings[tail].line == line) return;
    m_postings.push_back(Posting{line, kNoPosting});
    const uint32_t posting = uint32_t(m_postings.size() - 1);
    if (tail == kNoPosting) {
        entry.first = posting;
    } else {
        m_postings[tail].next = posting;
    }
    tail = posting;
    ++entry.count;
}

void CKeyIndex::pack() {
    if (m_packed) return;
    std::vector<LineNumber> lists;
    lists.reserve(m_postings.size());
    for (IndexEntry& entry : m_entries) {
        const uint32_t start = uint32_t(lists.size());
        for (uint32_t p = entry.first; p != kNoPosting; p = m_postings[p].next) lists.push_back(m_postings[p].line);
        entry.first = start;
    }
    m_lists.swap(lists);
    m_postings = {};
    m_tails = {};
    m_packed = true;
}

void CKeyIndex::unpack() {
    m_postings.clear();
    m_postings.reserve(m_lists.size());
    m_tails.assign(m_entries.size(), kNoPosting);
    for (std::size_t n = 0; n < m_entries.size(); ++n) {
        IndexEntry& entry = m_entries[n];
        const uint32_t start = entry.first;
        entry.first = kNoPosting;
        for (uint32_t k = 0; k < entry.count; ++k) {
            m_postings.push_back(Posting{m_lists[start + k], kNoPosting});
            const uint32_t posting = uint32_t(m_postings.size() - 1);
            if (m_tails[n] == kNoPosting) {
                entry.first = posting;
            } else {
                m_postings[m_tails[n]].next = posting;
            }
            m_tails[n] = posting;
        }
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

void CKeyIndex::gather(const IndexEntry& entry, std::vector<LineNumber>& out) const {
    out.clear();
    for (uint32_t p = entry.first; p != kNoPosting; p = m_postings[p].next) out.push_back(m_postings[p].line);
}

std::size_t CKeyIndex::bytesHeld() const {
    return m_slots.capacity() * sizeof(uint64_t) + m_entries.capacity() * sizeof(IndexEntry) +
           m_tails.capacity() * sizeof(uint32_t) + m_pool.capacity() * sizeof(char16_t) +
           m_postings.capacity() * sizeof(Posting) + m_lists.capacity() * sizeof(LineNumber);
}

}  // namespace pelux
