// What tests, benchmarks and fuzz targets read of a store beyond its lookups: counts, whole
// tables and the memory it holds. Nothing that ships includes this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/dictionary.h"

namespace pelux {

class CDictionaryInspection {
public:
    explicit CDictionaryInspection(const CDictionary& store) : m_store(store) {}

    std::size_t lineCount() const { return m_store.m_lineCount; }
    std::size_t keyCount() const { return m_store.index().entries.size(); }
    std::size_t charInfoCount() const { return m_store.m_charView.size(); }
    std::size_t stemCount() const { return m_store.m_stems.size(); }
    bool hasLine(LineNumber line) const;
    bool hasKey(std::u16string_view key) const { return m_store.index().find(key, m_store.m_lineTextView) != nullptr; }
    bool hasStem(std::u16string_view stem) const { return m_store.m_stems.contains(stem); }
    std::vector<std::u16string> keysInOrder() const;
    std::map<int32_t, std::u16string> charInfoEntries() const;
    std::map<std::u16string, std::u16string, std::less<>> irregularEntries() const;
    // Bytes the store holds in memory of its own (the bytes of a loaded image not counted).
    std::size_t bytesHeld() const;

    // Forgets every stem, so that a test starts from a store without English stems.
    static void clearStems(CDictionary& store);

private:
    const CDictionary& m_store;
};

inline CDictionaryInspection inspect(const CDictionary& store) { return CDictionaryInspection(store); }

}  // namespace pelux
