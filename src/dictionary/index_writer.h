// Index writes during one load: the store's own index, sized up front from the file so that it
// does not rehash as the load goes. Results are exactly those of CDictionary::addToIndex,
// CDictionary::entriesFor and CDictionary::setStem.
#pragma once

#include <cstddef>
#include <string_view>

#include "dictionary/dictionary.h"

namespace pelux {

class CIndexWriter {
public:
    // `fileCharacters`: the size of the file being indexed, from which the index is sized.
    CIndexWriter(CDictionary& store, std::size_t fileCharacters);

    CDictionary& store() { return m_store; }
    void add(std::u16string_view key, LineNumber line, bool collapse) { m_store.addToIndex(key, line, collapse); }
    // Whether entriesFor(key) is non-empty.
    bool hasEntries(std::u16string_view key) { return m_store.hasEntries(key); }
    void setStem(std::u16string_view stem, std::u16string_view word) { m_store.setStem(stem, word); }

private:
    CDictionary& m_store;
};

}  // namespace pelux
