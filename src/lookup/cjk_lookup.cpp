#include "lookup/cjk_lookup.h"

#include <algorithm>

#include "lookup/deinflect_choice.h"
#include "lookup/entry_ranking.h"
#include "lookup/kana_romaji.h"
#include "lookup/reader_display.h"

namespace pelux {

namespace {

bool listsLine(const std::vector<ReadingEntry>& entries, LineNumber line) {
    return std::any_of(entries.begin(), entries.end(), [line](const ReadingEntry& entry) { return entry.line == line; });
}

// The conjugated readings, longest first, and when the longest is only as long as the plain match,
// the plain lines among them: each plain line in the order it has without deinflection, a reading
// of that length before the first plain line it reads better than.
std::vector<ReadingEntry> readingsWithPlainLines(const CDictionary& store, std::u16string_view captured,
                                                 const CjkLookupResult& plain) {
    const size_t plainLength = static_cast<size_t>(plain.wordLength);
    const std::vector<DeinflectedWord> words = findDeinflectedWords(store, captured, plainLength, kMaxEntriesPerWord);
    std::vector<ReadingEntry> entries;
    if (words.empty()) return entries;
    const LineList plainLines = plainLength > 0 && words.front().surface.size() == plainLength
                                    ? rankedStoreLines(store, plain.wordLines, kMaxEntriesPerWord)
                                    : LineList();
    const std::u16string_view key = captured.substr(0, plainLength);
    size_t next = 0;
    auto add = [&entries](LineNumber line, std::u16string form) {
        if (entries.size() < kMaxEntriesPerWord && !listsLine(entries, line)) entries.push_back({line, std::move(form)});
    };
    for (LineNumber line : plainLines) {
        const ReadingRank rank = plainLineRank(store, key, line);
        for (; next < words.size() && readingIsBetter(words[next].rank, rank); ++next) add(words[next].line, formLine(words[next]));
        add(line, {});
    }
    for (; next < words.size(); ++next) add(words[next].line, formLine(words[next]));
    return entries;
}

}  // namespace

std::optional<LineNumber> firstLineOf(const CDictionary& store, std::u16string_view key) {
    const CLineSpan lines = store.entriesFor(key);
    if (lines.empty()) return std::nullopt;
    return lines.front();
}

CjkLookupResult lookupCjkText(const CDictionary& store, std::u16string_view captured, char16_t firstChar,
                              bool showSubWords, const ReaderOptions& reader) {
    DictionaryLock lock(store.mutex());
    const bool japanese = store.language() == Japanese;
    CjkLookupResult result;

    const size_t longest = std::min<size_t>(captured.size(), kMaxWordLength);
    for (size_t length = longest; length >= 1; --length) {
        const CLineSpan lines = store.entriesFor(captured.substr(0, length));
        if (!lines.empty()) {
            result.wordLength = static_cast<int32_t>(length);
            result.wordLine = lines.front();
            result.wordLines = lines;
            break;
        }
    }
    if (reader.deinflect && japanese && reader.allEntries) result.readings = readingsWithPlainLines(store, captured, result);
    if (reader.deinflect && japanese) {
        result.deinflected = findDeinflectedWord(store, captured, static_cast<size_t>(result.wordLength));
        if (result.deinflected) {
            result.wordLength = static_cast<int32_t>(result.deinflected->surface.size());
            result.wordLine = result.deinflected->line;
            const CLineSpan formLines = store.entriesFor(result.deinflected->dictionaryForm);
            result.wordLines.assign(formLines.begin(), formLines.end());
        }
    }

    if (result.wordLength >= 2 && showSubWords) {
        for (int32_t p = 0; p < result.wordLength; ++p) {
            SubItem item;
            item.character = captured[static_cast<size_t>(p)];
            if (japanese) {
                item.japaneseInfo = store.charInfo(item.character);
            } else {
                item.chineseLine = firstLineOf(store, std::u16string_view(&item.character, 1));
            }
            result.subItems.push_back(std::move(item));
        }
    }

    result.firstChar = firstChar;
    result.firstCharInfo = store.charInfo(firstChar);
    if (japanese) result.firstCharRomaji = kanaRomaji(firstChar);
    return result;
}

}  // namespace pelux
