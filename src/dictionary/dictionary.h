// The one in-memory store of the loaded dictionary: lines by number, per-character texts,
// the search index and the English stem and irregular-form tables.
//
// The store is compact: the line texts lie in one buffer (the decoded main file, or the bytes of an
// image) with offsets by line number, the index refers into that text instead of holding a
// string per key, and the key lists are packed into one array once a load has ended. A read of a
// missing key returns the empty result and stores nothing, so browsing never makes it grow.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/kanji_table.h"
#include "dictionary/key_index.h"
#include "dictionary/load_guard.h"
#include "dictionary/string_table.h"

namespace pelux {

class CImageBytes;

enum DictionaryLanguage : int32_t { Chinese = 0, Japanese = 1, None = 2 };

using LineList = std::vector<LineNumber>;

// The line numbers of one key, valid until the store is next written.
class CLineSpan : public std::span<const LineNumber> {
public:
    using std::span<const LineNumber>::span;
    CLineSpan(std::span<const LineNumber> span) : std::span<const LineNumber>(span) {}
    operator LineList() const { return LineList(begin(), end()); }
    friend bool operator==(const CLineSpan& a, const LineList& b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); }
};

struct LineSlot {
    uint32_t at;  // kNoLine: the line was never stored
    uint32_t length;
};
struct CharSlot {
    int32_t code;
    uint32_t at;
    uint32_t length;
};
inline constexpr uint32_t kNoLine = 0xFFFFFFFFu;

// Everything a load produces apart from the stems and irregular forms, as arrays that belong
// either to the store or to a loaded image.
struct StoreTables {
    std::u16string_view lineText;
    std::span<const LineSlot> lines;
    std::u16string_view charText;
    std::span<const CharSlot> chars;  // ascending codes
    IndexView index;
};

class CDictionary {
public:
    DictionaryLanguage language() const { return m_language; }
    void setLanguage(DictionaryLanguage language) { m_language = language; }
    // The online translation's choice: with no dictionary chosen yet, `fallback` becomes the
    // language. True when it did.
    bool settleLanguage(DictionaryLanguage fallback);

    // Empties the index, the lines, the character texts and the kanji table; keeps stems and
    // irregular forms.
    void resetForLoad(DictionaryLanguage language);
    // Appends the line to the key's list; with `collapse`, a repeat of the last number is dropped.
    void addToIndex(std::u16string_view key, LineNumber line, bool collapse);

    // Reads: a missing key gives the empty value, and an empty value means "none".
    CLineSpan entriesFor(std::u16string_view key) const;
    bool hasEntries(std::u16string_view key) const;
    std::u16string_view lineText(LineNumber line) const;
    // Hints that lineText(line) will be read soon: `textToo` starts fetching the text as well,
    // which reads the line's slot, so ask for the slot alone a few lines earlier.
    void prefetchLine(LineNumber line, bool textToo) const;
    std::u16string_view charInfo(int32_t code) const;
    std::u16string_view stemTarget(std::u16string_view stem) const { return m_stems.get(stem); }
    std::u16string_view irregularForm(std::u16string_view form) const { return m_irregular.get(form); }
    // What KANJIDIC says of each kanji; filled by the Japanese load or its image, empty otherwise.
    const CKanjiTable& kanjiTable() const { return m_kanji; }
    CKanjiTable& kanjiTable() { return m_kanji; }

    // Takes the decoded main file as the line text; setLine with a view into the returned text
    // then stores only its place. Call right after resetForLoad.
    std::u16string_view adoptLineText(std::u16string text);
    void setLine(LineNumber line, std::u16string_view text);
    void setCharInfo(int32_t code, std::u16string_view text);
    void setStem(std::u16string_view stem, std::u16string_view word);
    void setIrregular(std::u16string_view form, std::u16string_view word) { m_irregular.set(form, word); }
    void clearIrregular() { m_irregular.clear(); }
    // Reserves room for what a main file of `characters` gives, so that a load neither rehashes
    // nor copies its tables as it goes.
    void reserveForFile(std::size_t characters);
    // The same for the per-character texts of a file of `characters`.
    void reserveCharText(std::size_t characters);
    // Packs the key lists; a load calls it when its main file is read.
    void finishIndex();

    // Index keys were added or asked for since the last reset (a read counts, as it always has:
    // the pointer-event path then looks words up instead of showing the load prompt).
    bool isLoaded() const { return m_indexTouched; }

    // The arrays a finished load produced, for writing the image; valid until the next write.
    StoreTables tables() const;
    // visit(stem, word) for each stem this load set, in the order it first set them.
    template <typename Visit>
    void forEachStemOfThisLoad(Visit visit) const {
        for (uint32_t entry : m_loadStems) m_stems.visitEntry(entry, visit);
    }
    const CStringTable& irregularForms() const { return m_irregular; }
    // Makes an image's arrays the store's content; `image` holds them. `loaded`: what
    // isLoaded() said when the load that made the image ended.
    void adoptImage(const StoreTables& tables, std::shared_ptr<const CImageBytes> image, bool loaded);

    // Guards the store between threads. Recursive because a load on a band's thread pumps
    // messages, and the pointer events it dispatches read the store on that same thread.
    std::recursive_mutex& mutex() const { return m_mutex; }
    // Whether a load of this store runs, and how the last ended; needs no lock.
    CLoadState& loadState() const { return m_loadState; }

private:
    // What tests, benchmarks and fuzz targets read of the store's content.
    friend class CDictionaryInspection;

    // Copies a loaded image's arrays into memory of the store's own before a write.
    void makeOwned();
    void refreshViews();
    // The index with every waiting add applied: what all reads of the index go through.
    const IndexView& index() const {
        if (!m_waitingAdds.empty()) applyWaitingAdds();
        return m_indexView;
    }
    void applyWaitingAdds() const;
    // index(), with its lists packed: what reads of the lists go through.
    const IndexView& packedIndex() const;
    bool isWaitingToBeAdded(std::u16string_view key) const;

    // Index adds wait in a short queue, so that the table reads of a whole batch can start
    // together: each is a cache miss into tables of megabytes. Every read of the index applies
    // the waiting adds first, so no caller can see the queue.
    struct WaitingAdd {
        uint32_t at;  // in the line text, or with kPoolKey set in m_waitingKeyText
        uint32_t length;
        LineNumber line;
        bool collapse;
    };
    static constexpr std::size_t kAddBatch = 64;
    std::u16string_view waitingKey(const WaitingAdd& add) const;

    DictionaryLanguage m_language = Chinese;
    std::u16string m_lineText;
    std::vector<LineSlot> m_lineSlots;
    std::size_t m_lineCount = 0;
    std::u16string m_charText;
    std::vector<CharSlot> m_chars;
    mutable CKeyIndex m_index;
    mutable std::vector<WaitingAdd> m_waitingAdds;
    mutable std::u16string m_waitingKeyText;  // the waiting keys that do not lie in the line text
    CStringTable m_stems;
    // The stems this load set, which its image must carry: their entries in m_stems, and for
    // each entry whether it is among them.
    std::vector<uint32_t> m_loadStems;
    std::vector<bool> m_isLoadStem;
    CStringTable m_irregular;
    CKanjiTable m_kanji;
    std::shared_ptr<const CImageBytes> m_image;

    std::u16string_view m_lineTextView;
    std::span<const LineSlot> m_lineView;
    std::u16string_view m_charTextView;
    std::span<const CharSlot> m_charView;
    mutable IndexView m_indexView;

    // The slot number + 1 of each code below 0x10000, rebuilt on the first read after the
    // character texts change: a read is one array access rather than a binary search, which
    // matters to the English road, where a common word shows thousands of character lines.
    void updateCharPlaces() const;
    uint64_t m_charsVersion = 0;
    mutable uint64_t m_charPlacesVersion = ~uint64_t(0);
    mutable std::vector<uint16_t> m_charPlaces;

    mutable bool m_indexTouched = false;
    mutable std::recursive_mutex m_mutex;
    mutable CLoadState m_loadState;
};

using DictionaryLock = std::lock_guard<std::recursive_mutex>;

}  // namespace pelux
