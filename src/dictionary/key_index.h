// The search index: keys to lists of line numbers in one open-addressing table. Keys are not
// strings of their own: each refers either into the stored line text (headwords, readings and
// most English words are pieces of a line) or into a pool of key text. While a load runs, adds
// are appended as postings (a line and its entry) in the order they come; packing sorts them by
// entry into one array of numbers, whose slices are the lists. The packed form is also what the
// prepared image holds.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pelux {

using LineNumber = int32_t;

struct IndexEntry {
    uint32_t hash;
    uint32_t keyRef;     // kPoolKey set: an offset into the key pool, else into the line text
    uint32_t keyLength;
    uint32_t first;      // packed: offset into the lists
    uint32_t count;
};

inline constexpr uint32_t kPoolKey = 0x80000000u;

uint32_t keyHash(std::u16string_view key);
inline uint64_t slotOf(uint32_t hash, std::size_t entry) { return (uint64_t(hash) << 32) | uint64_t(entry + 1); }

inline constexpr std::size_t kNoSlot = ~std::size_t(0);

// The first slot on the probe of `hash` for which `stop(slot)` holds, or kNoSlot: a probe ends
// after one pass over the table whatever the table holds.
template <typename Stop>
std::size_t probeSlots(std::span<const uint64_t> slots, uint32_t hash, Stop stop) {
    const std::size_t mask = slots.size() - 1;
    std::size_t i = hash & mask;
    for (std::size_t n = 0; n < slots.size(); ++n, i = (i + 1) & mask)
        if (stop(slots[i])) return i;
    return kNoSlot;
}

// Puts entry number `entry`, of hash `hash`, into the first free slot on its probe of `slots`,
// which its owner keeps at most half full.
inline void placeInSlots(std::vector<uint64_t>& slots, uint32_t hash, std::size_t entry) {
    const std::size_t i = probeSlots(slots, hash, [](uint64_t slot) { return slot == 0; });
    if (i != kNoSlot) slots[i] = slotOf(hash, entry);
}

// A slot array of `size` (a power of two) that holds every one of `entries`, each with a `hash`.
template <typename Entries>
std::vector<uint64_t> slotsHolding(const Entries& entries, std::size_t size) {
    std::vector<uint64_t> slots(size, 0);
    for (std::size_t n = 0; n < entries.size(); ++n) placeInSlots(slots, entries[n].hash, n);
    return slots;
}

// The index as readers see it: arrays that belong to a CKeyIndex or to a loaded image.
struct IndexView {
    // The hash of the key in the upper half and the entry number + 1 in the lower, 0 for a free
    // slot; a power of two long. A probe compares hashes without touching the entries.
    std::span<const uint64_t> slots;
    std::span<const IndexEntry> entries;
    std::span<const char16_t> pool;
    std::span<const LineNumber> lists;

    std::u16string_view keyOf(const IndexEntry& entry, std::u16string_view lineText) const;
    // The entry of `key`, or null.
    const IndexEntry* find(std::u16string_view key, std::u16string_view lineText) const;
    // True when every reference stays inside its array, so that reads cannot leave them.
    bool isConsistent(std::size_t lineTextSize) const;
};

class CKeyIndex {
public:
    void clear();
    void reserve(std::size_t keys);
    // `lineText` is the store's text; a key that lies inside it is kept as a reference.
    void add(std::u16string_view key, LineNumber line, bool collapse, std::u16string_view lineText);
    struct Add {
        std::u16string_view key;
        LineNumber line;
        bool collapse;
    };
    // The same as add() for each, in order. The slots and entries that the adds will read are
    // fetched from memory for the whole batch first, so that their cache misses overlap.
    void addAll(std::span<const Add> adds, std::u16string_view lineText);
    // Turns the postings into packed lists; reads are then one slice each. A read of an index
    // that is not packed packs it first.
    void pack();
    // Makes a copy of `view` the content of this index, as packed lists.
    void assign(const IndexView& view);
    bool packed() const { return m_packed; }

    // The arrays; the lists are empty while the index is not packed.
    IndexView view() const;
    std::size_t bytesHeld() const;

private:
    struct Posting {
        LineNumber line;
        uint32_t entry;
    };
    IndexEntry& findOrAdd(std::u16string_view key, uint32_t hash, std::u16string_view lineText);
    void addHashed(std::u16string_view key, uint32_t hash, LineNumber line, bool collapse, std::u16string_view lineText);
    void unpack();
    void grow();

    std::vector<uint64_t> m_slots;
    std::vector<IndexEntry> m_entries;
    std::vector<LineNumber> m_lastLines;  // building: the last line added to each entry
    std::vector<char16_t> m_pool;
    std::vector<Posting> m_postings;
    std::vector<LineNumber> m_lists;
    bool m_packed = true;  // an empty index is trivially packed
};

}  // namespace pelux
