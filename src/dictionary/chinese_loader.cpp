#include <string>
#include <vector>

#include "dictionary/dictionary_file.h"
#include "dictionary/english_index.h"
#include "dictionary/index_writer.h"
#include "dictionary/load_patterns.h"
#include "dictionary/load_session.h"
#include "dictionary/loaders.h"

namespace pelux {

namespace {

constexpr std::u16string_view kFieldPattern = u"[^\\t]+";

// The simplified form sits between the first space and the space before "["; lines that lack
// either still give a form rather than nothing.
std::u16string_view simplifiedFormOf(std::u16string_view text, std::size_t firstSpace) {
    const std::ptrdiff_t space = firstSpace == std::u16string_view::npos ? -1 : std::ptrdiff_t(firstSpace);
    const std::size_t bracketAt = text.find(u'[');
    const std::ptrdiff_t bracket =
        bracketAt == std::u16string_view::npos ? std::ptrdiff_t(text.size()) + 1 : std::ptrdiff_t(bracketAt);
    const std::size_t start = std::size_t(space + 1);
    const std::ptrdiff_t length = bracket - space - 2;
    if (length < 0 || start + std::size_t(length) > text.size()) return text.substr(start);
    return text.substr(start, std::size_t(length));
}

void indexChineseLine(CIndexWriter& index, std::u16string_view text, LineNumber line, std::u16string& scratch) {
    const std::size_t space = text.find(u' ');
    index.add(space == std::u16string_view::npos ? text : text.substr(0, space), line, false);
    index.add(simplifiedFormOf(text, space), line, false);

    // Only what lies between the first and the last "/" are definitions, whatever the line end.
    const std::size_t first = text.find(u'/');
    const std::size_t last = text.rfind(u'/');
    if (first == std::u16string_view::npos || last <= first) return;
    forEachDefinitionRun(text.substr(first + 1, last - first - 1), [&](std::u16string_view run) {
        indexEnglishDefinition(index, run, line, true, scratch);
    });
}

void readChineseMainFile(CLoadSession& session, const LoadEnvironment& environment, CDictionary& store) {
    const std::filesystem::path path = session.pathOf(kChineseMainFile);
    CDictionaryFile file;
    if (!file.open(path, FileMode::Utf16Binary)) return session.noteMissing(path);
    session.noteRead(0, file.stamp());
    file.continueIn(store.adoptLineText(file.releaseText()));
    file.skipHeader();
    pollEscape(environment);  // a press from before the load must not cancel it

    CIndexWriter index(store, file.size());
    std::u16string scratch;
    std::u16string_view line;
    LineNumber n = 0;
    for (; file.readLine(line); ++n) {
        const std::u16string_view text = line.ends_with(u'\n') ? line.substr(0, line.size() - 1) : line;
        store.setLine(n, text);
        if (session.progressStep(n)) {
            session.noteCancelled();
            ++n;
            break;
        }
        indexChineseLine(index, text, n, scratch);
    }
    session.noteLinesRead(uint32_t(n));
    store.finishIndex();
}

void storeCharacterLine(CDictionary& store, std::u16string_view line, IPerlPattern& fieldPattern) {
    const std::vector<PerlMatch>& fields = fieldPattern.execute(line);
    int32_t code = 0;
    if (fields.size() < 6 || !scanHexCode(fields[0].value, code)) return;
    std::u16string text;
    text.reserve(fields[3].value.size() + fields[4].value.size() + fields[5].value.size() + 12);
    text.append(u" [M: ").append(fields[3].value).append(u" C: ").append(fields[5].value);
    text.append(u"] ").append(fields[4].value);
    store.setCharInfo(code, text);
}

void readChineseCharFile(CLoadSession& session, CDictionary& store, IPerlPattern& fieldPattern) {
    fieldPattern.setPattern(kFieldPattern);
    fieldPattern.setGlobal(true);
    const std::filesystem::path path = session.pathOf(kChineseCharFile);
    CDictionaryFile file;
    if (!file.open(path, FileMode::SingleByteText)) return session.noteMissing(path);
    session.noteRead(1, file.stamp());
    store.reserveCharText(file.size());
    file.forEachLineAfterHeader([&](std::u16string_view line) { storeCharacterLine(store, line, fieldPattern); });
}

const LanguageFiles kChineseFiles{Chinese, kChineseMainFile, kChineseCharFile, kChineseProgressFormat};

}  // namespace

LoadReport loadChineseDictionary(CDictionary& store, const LoadEnvironment& environment) {
    CLoadSession session(store, environment, kChineseFiles);
    if (!session.started()) return {};
    std::unique_ptr<IPerlPattern> fieldPattern;
    try {
        fieldPattern = createPerlPattern();
    } catch (const CPatternError&) {
        return session.fail(u"Could not load the dictionary: no pattern object available");
    }
    store.resetForLoad(Chinese);
    showLoadText(environment, kLoadingText);
    if (session.loadFromImage(store)) return session.finish(store);
    readChineseMainFile(session, environment, store);
    readChineseCharFile(session, store, *fieldPattern);
    session.runIrregularPass(store);
    return session.finish(store);
}

}  // namespace pelux
