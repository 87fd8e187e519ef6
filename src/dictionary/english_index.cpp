#include "dictionary/english_index.h"

#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/load_patterns.h"
#include "dictionary/lower_case.h"

namespace pelux {

namespace {

// The word a definition stands for, or false when it is not a single word.
bool singleWordOf(std::u16string_view definition, std::u16string_view& word) {
    const std::size_t space = definition.find(u' ');
    if (space == std::u16string_view::npos) {
        word = definition;
        return true;
    }
    if (definition.substr(0, 3) != u"to ") return false;
    word = definition.substr(space + 1);
    return word.find(u' ') == std::u16string_view::npos;
}

}  // namespace

void indexEnglishDefinition(CIndexWriter& index, std::u16string_view definition, LineNumber line, bool collapse,
                            std::u16string& scratch) {
    std::u16string_view word;
    if (!singleWordOf(definition, word)) return;
    scratch.assign(word);
    lowerCaseInPlace(scratch);
    // A word already in lower case is kept as a place in the line rather than a copy.
    index.add(scratch == word ? word : std::u16string_view(scratch), line, collapse);

    std::u16string_view stem;
    if (matchSuffixStem(scratch, stem) && !index.hasEntries(stem)) index.setStem(stem, scratch);
}

namespace {

// Each form that is not a key points to the first other form of its group that is.
void linkIrregularGroup(CDictionary& store, const std::vector<std::u16string_view>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (!store.entriesFor(words[i]).empty()) continue;
        for (std::size_t j = 0; j < words.size(); ++j) {
            if (j == i || store.entriesFor(words[j]).empty()) continue;
            store.setIrregular(words[i], words[j]);
            break;
        }
    }
}

}  // namespace

bool buildIrregularForms(CDictionary& store, const std::filesystem::path& path, FileStamp& stamp) {
    store.clearIrregular();
    std::unique_ptr<IPerlPattern> wordPattern = createPerlPattern(kWordPattern, true);
    CDictionaryFile file;
    if (!file.open(path, FileMode::SingleByteText)) return false;
    stamp = file.stamp();
    std::vector<std::u16string_view> words;
    file.forEachLineAfterHeader([&](std::u16string_view line) {
        words.clear();
        for (const PerlMatch& match : wordPattern->execute(line))
            if (!match.subMatches.empty()) words.push_back(match.subMatches.front());
        linkIrregularGroup(store, words);
    });
    return true;
}

}  // namespace pelux
