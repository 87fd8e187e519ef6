#include "dictionary/index_writer.h"

namespace pelux {

// Dictionary lines run to a few dozen characters and give one to three keys each, of which
// fewer are new: one key per 40 characters of file is about what both full dictionaries hold.
IndexWriter::IndexWriter(CDictionary& store, std::size_t fileCharacters) : m_store(store) {
    m_store.reserveKeys(fileCharacters / 40 + 16);
}

}  // namespace pelux
