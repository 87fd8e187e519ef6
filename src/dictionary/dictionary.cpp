#include "dictionary/dictionary.h"

#include <algorithm>

#include "dictionary/store_image.h"

namespace pelux {

namespace {

bool liesWithin(std::u16string_view part, std::u16string_view whole) {
    return !whole.empty() && part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

}  // namespace

bool CDictionary::settleLanguage(DictionaryLanguage fallback) {
    if (m_language != None) return false;
    m_language = fallback;
    return true;
}

void CDictionary::resetForLoad(DictionaryLanguage language) {
    m_waitingAdds.clear();
    m_waitingKeyText.clear();
    m_image.reset();
    m_lineText = {};
    m_lineSlots = {};
    m_lineCount = 0;
    m_charText = {};
    m_chars = {};
    ++m_charsVersion;
    m_index.clear();
    m_kanji.clear();
    m_loadStems.clear();
    m_isLoadStem.clear();
    m_indexTouched = false;
    m_language = language;
    refreshViews();
}

void CDictionary::refreshViews() {
    if (m_image) return;
    m_lineTextView = m_lineText;
    m_lineView = m_lineSlots;
    m_charTextView = m_charText;
    m_charView = m_chars;
    m_indexView = m_index.view();
}

void CDictionary::makeOwned() {
    if (!m_image) return;
    m_lineText.assign(m_lineTextView);
    m_lineSlots.assign(m_lineView.begin(), m_lineView.end());
    m_charText.assign(m_charTextView);
    m_chars.assign(m_charView.begin(), m_charView.end());
    m_index.assign(m_indexView);
    m_image.reset();
    refreshViews();
}

void CDictionary::reserveForFile(std::size_t characters) {
    makeOwned();
    // Both full dictionaries give about one key per 40 characters and one line per 64.
    m_index.reserve(characters / 40 + 16);
    m_lineSlots.reserve(characters / 48 + 16);
    refreshViews();
}

void CDictionary::reserveCharText(std::size_t characters) {
    makeOwned();
    m_charText.reserve(characters);
    refreshViews();
}

void CDictionary::addToIndex(std::u16string_view key, LineNumber line, bool collapse) {
    makeOwned();
    m_indexTouched = true;
    WaitingAdd add{0, uint32_t(key.size()), line, collapse};
    // A key that lies in the line text waits as its place there: the text only grows while
    // adds wait, so the place stays good even when the text moves.
    if (liesWithin(key, m_lineText) && std::size_t(key.data() - m_lineText.data()) < kPoolKey) {
        add.at = uint32_t(key.data() - m_lineText.data());
    } else {
        add.at = uint32_t(m_waitingKeyText.size()) | kPoolKey;
        m_waitingKeyText.append(key);
    }
    m_waitingAdds.push_back(add);
    if (m_waitingAdds.size() == kAddBatch) applyWaitingAdds();
}

std::u16string_view CDictionary::waitingKey(const WaitingAdd& add) const {
    if (add.at & kPoolKey) return std::u16string_view(m_waitingKeyText).substr(add.at & ~kPoolKey, add.length);
    return std::u16string_view(m_lineText).substr(add.at, add.length);
}

void CDictionary::applyWaitingAdds() const {
    if (m_waitingAdds.empty()) return;
    // addToIndex applies the queue when it is full, so it never holds more than one batch.
    CKeyIndex::Add adds[kAddBatch];
    std::size_t count = 0;
    for (const WaitingAdd& add : m_waitingAdds) adds[count++] = CKeyIndex::Add{waitingKey(add), add.line, add.collapse};
    m_index.addAll(std::span<const CKeyIndex::Add>(adds, count), m_lineText);
    m_waitingAdds.clear();
    m_waitingKeyText.clear();
    m_indexView = m_index.view();
}

const IndexView& CDictionary::packedIndex() const {
    index();
    // Adds outside a load (tests, a store built by hand) are packed when first read.
    if (!m_image && !m_index.packed()) {
        m_index.pack();
        m_indexView = m_index.view();
    }
    return m_indexView;
}

bool CDictionary::isWaitingToBeAdded(std::u16string_view key) const {
    for (const WaitingAdd& add : m_waitingAdds)
        if (add.length == key.size() && waitingKey(add) == key) return true;
    return false;
}

void CDictionary::finishIndex() {
    if (m_image) return;
    applyWaitingAdds();
    m_index.pack();
    m_indexView = m_index.view();
}

CLineSpan CDictionary::entriesFor(std::u16string_view key) const {
    m_indexTouched = true;
    const IndexEntry* entry = packedIndex().find(key, m_lineTextView);
    if (!entry) return {};
    return CLineSpan(m_indexView.lists.subspan(entry->first, entry->count));
}

bool CDictionary::hasEntries(std::u16string_view key) const {
    m_indexTouched = true;
    // Asked for every English stem during a load: answered without emptying the queue.
    const IndexEntry* entry = m_indexView.find(key, m_lineTextView);
    return (entry && entry->count > 0) || isWaitingToBeAdded(key);
}

std::u16string_view CDictionary::lineText(LineNumber line) const {
    if (line < 0 || std::size_t(line) >= m_lineView.size()) return {};
    const LineSlot& slot = m_lineView[std::size_t(line)];
    if (slot.at == kNoLine) return {};
    return m_lineTextView.substr(slot.at, slot.length);
}

void CDictionary::prefetchLine(LineNumber line, bool textToo) const {
    if (line < 0 || std::size_t(line) >= m_lineView.size()) return;
    const LineSlot& slot = m_lineView[std::size_t(line)];
    if (!textToo) {
        __builtin_prefetch(&slot);
        return;
    }
    if (slot.at == kNoLine || slot.at >= m_lineTextView.size()) return;
    __builtin_prefetch(m_lineTextView.data() + slot.at);
    __builtin_prefetch(m_lineTextView.data() + slot.at + 32);
}

void CDictionary::updateCharPlaces() const {
    m_charPlacesVersion = m_charsVersion;
    m_charPlaces.clear();
    if (m_charView.size() >= 0xFFFF) return;  // numbers that do not fit: binary search instead
    m_charPlaces.assign(0x10000, 0);
    for (std::size_t i = 0; i < m_charView.size(); ++i) {
        const int32_t code = m_charView[i].code;
        if (code >= 0 && code < 0x10000) m_charPlaces[std::size_t(code)] = uint16_t(i + 1);
    }
}

std::u16string_view CDictionary::charInfo(int32_t code) const {
    if (m_charPlacesVersion != m_charsVersion) updateCharPlaces();
    if (!m_charPlaces.empty() && code >= 0 && code < 0x10000) {
        const uint16_t place = m_charPlaces[std::size_t(code)];
        if (place == 0) return {};
        const CharSlot& slot = m_charView[place - 1u];
        return m_charTextView.substr(slot.at, slot.length);
    }
    const auto it = std::lower_bound(m_charView.begin(), m_charView.end(), code,
                                     [](const CharSlot& slot, int32_t wanted) { return slot.code < wanted; });
    if (it == m_charView.end() || it->code != code) return {};
    return m_charTextView.substr(it->at, it->length);
}

std::u16string_view CDictionary::adoptLineText(std::u16string text) {
    makeOwned();
    applyWaitingAdds();  // their places refer to the text being replaced
    m_lineText = std::move(text);
    refreshViews();
    return m_lineText;
}

void CDictionary::setLine(LineNumber line, std::u16string_view text) {
    if (line < 0) return;
    makeOwned();
    LineSlot slot{0, uint32_t(text.size())};
    if (liesWithin(text, m_lineText)) {
        slot.at = uint32_t(text.data() - m_lineText.data());
    } else {
        slot.at = uint32_t(m_lineText.size());
        m_lineText.append(text);
    }
    const auto number = std::size_t(line);
    if (number >= m_lineSlots.size()) m_lineSlots.resize(number + 1, LineSlot{kNoLine, 0});
    if (m_lineSlots[number].at == kNoLine) ++m_lineCount;
    m_lineSlots[number] = slot;
    refreshViews();
}

void CDictionary::setCharInfo(int32_t code, std::u16string_view text) {
    makeOwned();
    ++m_charsVersion;
    const CharSlot slot{code, uint32_t(m_charText.size()), uint32_t(text.size())};
    m_charText.append(text);
    if (m_chars.empty() || m_chars.back().code < code) {
        m_chars.push_back(slot);
    } else {
        const auto it = std::lower_bound(m_chars.begin(), m_chars.end(), code,
                                         [](const CharSlot& held, int32_t wanted) { return held.code < wanted; });
        if (it != m_chars.end() && it->code == code) {
            *it = slot;
        } else {
            m_chars.insert(it, slot);
        }
    }
    refreshViews();
}

void CDictionary::setStem(std::u16string_view stem, std::u16string_view word) {
    const uint32_t entry = m_stems.set(stem, word);
    if (entry >= m_isLoadStem.size()) m_isLoadStem.resize(std::size_t(entry) + 1, false);
    if (m_isLoadStem[entry]) return;
    m_isLoadStem[entry] = true;
    m_loadStems.push_back(entry);
}

StoreTables CDictionary::tables() const {
    return StoreTables{m_lineTextView, m_lineView, m_charTextView, m_charView, packedIndex()};
}

void CDictionary::adoptImage(const StoreTables& tables, std::shared_ptr<const CImageBytes> image, bool loaded) {
    m_waitingAdds.clear();
    m_waitingKeyText.clear();
    m_lineText = {};
    m_lineSlots = {};
    m_charText = {};
    m_chars = {};
    m_index.clear();
    m_kanji.clear();
    m_image = std::move(image);
    m_lineTextView = tables.lineText;
    m_lineView = tables.lines;
    m_charTextView = tables.charText;
    m_charView = tables.chars;
    ++m_charsVersion;
    m_indexView = tables.index;
    m_lineCount = std::size_t(std::count_if(m_lineView.begin(), m_lineView.end(),
                                            [](const LineSlot& slot) { return slot.at != kNoLine; }));
    m_indexTouched = m_indexTouched || loaded;
}

}  // namespace pelux
