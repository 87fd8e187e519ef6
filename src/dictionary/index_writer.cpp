#include "dictionary/index_writer.h"

namespace pelux {

CIndexWriter::CIndexWriter(CDictionary& store, std::size_t fileCharacters) : m_store(store) {
    m_store.reserveForFile(fileCharacters);
}

}  // namespace pelux
