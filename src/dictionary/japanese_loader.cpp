#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/english_index.h"
#include "dictionary/index_writer.h"
#include "dictionary/kanji_table.h"
#include "dictionary/load_patterns.h"
#include "dictionary/load_session.h"
#include "dictionary/loaders.h"

namespace pelux {

namespace {

constexpr std::u16string_view kCharacterPattern = u".*U(....).*?(\\{.*)";

// Buffers kept across the lines of one load, so that a line costs no allocation of its own.
struct EntryBuffers {
    std::u16string withoutNotes;
    std::u16string word;
};

void storeKanjiLine(CDictionary& store, std::u16string_view line, IPerlPattern& characterPattern) {
    const std::vector<PerlMatch>& matches = characterPattern.execute(line);
    if (matches.empty() || matches.front().subMatches.size() < 2) return;
    const PerlMatch& match = matches.front();
    int32_t code = 0;
    if (!scanHexCode(match.subMatches[0], code)) return;
    store.setCharInfo(code, match.subMatches[1]);
    store.kanjiTable().addLine(char32_t(code), line);
}

void readKanjiFile(CLoadSession& session, CDictionary& store, IPerlPattern& characterPattern) {
    characterPattern.setPattern(kCharacterPattern);
    characterPattern.setGlobal(false);
    store.kanjiTable().clear();
    const std::filesystem::path path = session.pathOf(kJapaneseCharFile);
    CDictionaryFile file;
    if (!file.open(path, FileMode::Utf16Binary)) return session.noteMissing(path);
    session.noteRead(1, file.stamp());
    store.reserveCharText(file.size());
    file.forEachLineAfterHeader([&](std::u16string_view line) { storeKanjiLine(store, line, characterPattern); });
    store.kanjiTable().finish();
}

void indexJapaneseLine(CIndexWriter& index, std::u16string_view line, LineNumber n, EntryBuffers& buffers) {
    EntryHead head;
    if (matchEntryHead(line, head)) {
        index.add(head.headword, n, false);
        if (!head.reading.empty()) index.add(head.reading, n, false);
    }
    buffers.withoutNotes.assign(line);
    removeParenthesised(buffers.withoutNotes);
    forEachSlashedDefinition(buffers.withoutNotes, [&](std::u16string_view definition) {
        indexEnglishDefinition(index, definition, n, false, buffers.word);
    });
}

void readMainFile(CLoadSession& session, const LoadEnvironment& environment, CDictionary& store) {
    const std::filesystem::path path = session.pathOf(kJapaneseMainFile);
    CDictionaryFile file;
    if (!file.open(path, FileMode::Utf16Binary)) return session.noteMissing(path);
    session.noteRead(0, file.stamp());
    file.continueIn(store.adoptLineText(file.releaseText()));
    file.skipHeader();
    pollEscape(environment);  // a press from before the load must not cancel it

    CIndexWriter index(store, file.size());
    EntryBuffers buffers;
    std::u16string_view line;
    LineNumber n = 0;
    for (; file.readLine(line); ++n) {
        store.setLine(n, line);
        if (session.progressStep(n)) {
            session.noteCancelled();
            ++n;
            break;
        }
        indexJapaneseLine(index, line, n, buffers);
    }
    session.noteLinesRead(uint32_t(n));
    store.finishIndex();
}

const LanguageFiles kJapaneseFiles{Japanese, kJapaneseMainFile, kJapaneseCharFile, kJapaneseProgressFormat};

}  // namespace

void removeParenthesised(std::u16string& line) {
    const std::size_t size = line.size();
    std::size_t out = 0;
    for (std::size_t in = 0; in < size;) {
        if (line[in] != u'(') {
            line[out++] = line[in++];
            continue;
        }
        if (out > 0 && line[out - 1] == u' ') --out;
        std::size_t close = in + 1;
        while (close < size && line[close] != u')') ++close;
        if (close == size) break;  // an unclosed note runs to the end of the line
        in = close + 1;
        if (in < size && line[in] == u' ') ++in;
    }
    line.resize(out);
}

LoadReport loadJapaneseDictionary(CDictionary& store, const LoadEnvironment& environment) {
    CLoadSession session(store, environment, kJapaneseFiles);
    if (!session.started()) return {};
    std::unique_ptr<IPerlPattern> characterPattern;
    try {
        characterPattern = createPerlPattern();
    } catch (const CPatternError&) {
        return session.fail(u"Could not load the dictionary: no pattern object available");
    }
    store.resetForLoad(Japanese);
    showLoadText(environment, kLoadingText);
    if (session.loadFromImage(store)) return session.finish(store);
    readKanjiFile(session, store, *characterPattern);
    readMainFile(session, environment, store);
    session.runIrregularPass(store);
    return session.finish(store);
}

}  // namespace pelux
