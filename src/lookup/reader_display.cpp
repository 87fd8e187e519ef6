#include "lookup/reader_display.h"

#include "lookup/entry_ranking.h"
#include "lookup/hepburn_romaji.h"
#include "lookup/standard_pinyin.h"

namespace pelux {

LineList rankedStoreLines(const LineList& lines, size_t limit) {
    CDictionary& store = theDictionary();
    return rankEntryLines(lines, limit, [&store](LineNumber line) { return std::u16string_view(store.lineText(line)); });
}

std::u16string withoutLineEnd(std::u16string rendered) {
    while (!rendered.empty() && (rendered.back() == u'\r' || rendered.back() == u'\n')) rendered.pop_back();
    return rendered;
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
