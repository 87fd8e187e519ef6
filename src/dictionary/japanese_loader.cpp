#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/english_index.h"
#include "dictionary/index_writer.h"
#include "dictionary/load_session.h"
#include "dictionary/loaders.h"

namespace pelux {

namespace {

constexpr std::u16string_view kCharacterPattern = u".*U(....).*?(\\{.*)";
constexpr std::u16string_view kEntryPattern = u"(.*?)\\s+(\\[(.*?)\\])?";
constexpr std::u16string_view kDefinitionPattern = u"/(.+?)(?=/)";

struct JapanesePatterns {
    std::unique_ptr<IPerlPattern> line;
    std::unique_ptr<IPerlPattern> definitions;
    SuffixPatterns suffixes;
};

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
}

void readKanjiFile(CLoadSession& session, CDictionary& store, IPerlPattern& characterPattern) {
    characterPattern.setPattern(kCharacterPattern);
    characterPattern.setGlobal(false);
    const std::filesystem::path path = session.pathOf(kJapaneseCharFile);
    CDictionaryFile file;
    if (!file.open(path, FileMode::Utf16Binary)) return session.noteMissing(path);
    session.noteRead(1, file.stamp());
    file.skipHeader();
    std::u16string_view line;
    while (file.readLine(line)) {
        try {
            storeKanjiLine(store, line, characterPattern);
        } catch (const CPatternError&) {
        }
    }
}

void indexJapaneseLine(CIndexWriter& index, std::u16string_view line, LineNumber n, JapanesePatterns& patterns,
                       EntryBuffers& buffers) {
    const std::vector<PerlMatch>& entry = patterns.line->execute(line);
    if (!entry.empty() && entry.front().subMatches.size() >= 3) {
        index.add(entry.front().subMatches[0], n, false);
        const std::u16string_view reading = entry.front().subMatches[2];
        if (!reading.empty()) index.add(reading, n, false);
    }
    buffers.withoutNotes.assign(line);
    removeParenthesised(buffers.withoutNotes);
    for (const PerlMatch& definition : patterns.definitions->execute(buffers.withoutNotes)) {
        if (definition.subMatches.empty()) continue;
        indexEnglishDefinition(index, definition.subMatches.front(), n, false, patterns.suffixes, buffers.word);
    }
}

void readMainFile(CLoadSession& session, const LoadEnvironment& environment, CDictionary& store,
                  JapanesePatterns& patterns) {
    patterns.line->setPattern(kEntryPattern);
    patterns.line->setGlobal(false);
    patterns.definitions->setPattern(kDefinitionPattern);
    patterns.definitions->setGlobal(true);
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
        try {
            indexJapaneseLine(index, line, n, patterns, buffers);
        } catch (const CPatternError&) {
            // The line stays stored; keys it could not give are simply missing.
        }
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

LoadReport loadJapaneseDictionary(const LoadEnvironment& environment) {
    CLoadSession session(environment, kJapaneseFiles);
    if (!session.started()) return {};
    JapanesePatterns patterns;
    try {
        patterns.line = createPerlPattern();
        patterns.definitions = createPerlPattern();
        patterns.suffixes = SuffixPatterns::create();
    } catch (const CPatternError&) {
        return session.fail(u"Could not load the dictionary: no pattern object available");
    }
    CDictionary& store = theDictionary();
    store.resetForLoad(Japanese);
    showLoadText(environment, kLoadingText);
    if (session.loadFromImage(store)) return session.finish(store);
    readKanjiFile(session, store, *patterns.line);
    readMainFile(session, environment, store, patterns);
    session.runIrregularPass(store);
    return session.finish(store);
}

}  // namespace pelux
