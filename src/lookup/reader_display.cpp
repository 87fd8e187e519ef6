#include "lookup/reader_display.h"

#include "lookup/entry_ranking.h"
#include "lookup/hepburn_romaji.h"
#include "lookup/standard_pinyin.h"

namespace pelux {

LineList rankedStoreLines(const CDictionary& store, const LineList& lines, size_t limit) {
    return rankEntryLines(lines, limit, [&store](LineNumber line) { return std::u16string_view(store.lineText(line)); });
}

void dropLineEnd(std::u16string& text, size_t from) {
    while (text.size() > from && (text.back() == u'\r' || text.back() == u'\n')) text.pop_back();
}

std::u16string characterInfoToShow(std::u16string_view info, bool japanese, const ReaderOptions& reader) {
    if (japanese || !reader.standardPinyin) return std::u16string(info);
    return standardPinyinCharacterInfo(info);
}

std::u16string characterRomajiToShow(char16_t character, std::u16string_view classic, const ReaderOptions& reader) {
    if (!reader.hepburnRomaji || classic.empty()) return std::u16string(classic);
    return hepburnRomaji(std::u16string_view(&character, 1));
}

}  // namespace pelux
