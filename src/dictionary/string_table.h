// A small table from keys to texts, both kept in one pool: the stems and the irregular forms.
// A read of a missing key stores nothing, so lookups of words from the page cannot make it grow.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace pelux {

class CStringTable {
public:
    void clear();
    // Replaces the value of `key`, adding the key when it is new; the number of its entry, which
    // stays the key's until the table is cleared.
    uint32_t set(std::u16string_view key, std::u16string_view value);
    // The value of `key`, empty when it has none.
    std::u16string_view get(std::u16string_view key) const;
    bool contains(std::u16string_view key) const { return findSlot(key, keyHashOf(key)) != kMissing; }
    std::size_t size() const { return m_entries.size(); }
    std::size_t bytesHeld() const;

    // The key and value of entry `entry`, a number that set() returned.
    template <typename Visit>
    void visitEntry(uint32_t entry, Visit visit) const {
        const Entry& held = m_entries[entry];
        visit(text(held.keyAt, held.keyLength), text(held.valueAt, held.valueLength));
    }
    template <typename Visit>
    void forEach(Visit visit) const {
        for (const Entry& entry : m_entries) visit(text(entry.keyAt, entry.keyLength), text(entry.valueAt, entry.valueLength));
    }

private:
    struct Entry {
        uint32_t hash;
        uint32_t keyAt, keyLength;
        uint32_t valueAt, valueLength;
    };
    static constexpr std::size_t kMissing = ~std::size_t(0);
    static uint32_t keyHashOf(std::u16string_view key);
    std::u16string_view text(uint32_t at, uint32_t length) const { return {m_pool.data() + at, length}; }
    uint32_t append(std::u16string_view text);
    // The slot that holds `key`, or kMissing.
    std::size_t findSlot(std::u16string_view key, uint32_t hash) const;
    void grow();

    // The key's hash in the upper half and the entry number + 1 in the lower, 0 for a free slot:
    // a probe passes other keys without reading their entries.
    std::vector<uint64_t> m_slots;
    std::vector<Entry> m_entries;
    std::vector<char16_t> m_pool;
};

}  // namespace pelux
