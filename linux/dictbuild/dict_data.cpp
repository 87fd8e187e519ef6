// The bundled dictionary set: our own entries, kept as UTF-8 text in data/src and turned into the
// exact file formats the loaders read.
#include <cstdio>
#include <stdexcept>

#include "dictbuild/dict_build.h"
#include "dictbuild/dict_lines.h"
#include "dictbuild/dict_output.h"
#include "dictbuild/dict_text.h"
#include "adapters/utf8.h"

namespace pelux {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const CLineReader& in, const fs::path& file, const std::string& why) {
    throw std::runtime_error(file.string() + ":" + std::to_string(in.lineNumber()) + ": " + why);
}

// Calls handle(line) for every line that is neither empty nor a "#" comment.
template <typename Handle>
void forEachEntry(const fs::path& file, Handle handle) {
    CLineReader in(file);
    std::string line;
    while (in.next(line)) {
        if (line.empty() || line[0] == '#') continue;
        try {
            handle(line);
        } catch (const std::invalid_argument& error) {
            fail(in, file, error.what());
        }
    }
    in.finish();
}

std::u16string wide(const std::string& line) {
    const auto text = utf8ToUtf16(line);
    if (!text) throw std::invalid_argument("not UTF-8");
    return *text;
}

// "日 ニチ ひ {day} {sun}" gets the code field the loader reads: "日 U65e5 ニチ ひ {day} {sun}".
std::u16string kanjidicLine(const std::string& line) {
    const std::u16string text = wide(line);
    if (text.size() < 3 || text[1] != u' ' || (text[0] >= 0xD800 && text[0] <= 0xDFFF))
        throw std::invalid_argument("a kanji line starts with one kanji and a space");
    if (text.find(u'{') == std::u16string::npos) throw std::invalid_argument("a kanji line needs a {meaning}");
    if (text.find(u'U', 2) != std::u16string::npos)
        throw std::invalid_argument("a capital U after the kanji would be taken for its code");
    char code[8];
    std::snprintf(code, sizeof code, "U%04x", static_cast<unsigned>(text[0]));
    return text.substr(0, 2) + *utf8ToUtf16(code) + u" " + text.substr(2);
}

// "中<TAB>zhong1<TAB>zung1<TAB>middle; centre" becomes a full single-character line.
std::string unichinLine(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
        fields.push_back(line.substr(start, tab - start));
    fields.push_back(line.substr(start));
    const std::u16string character = wide(fields[0]);
    if (fields.size() != 4 || character.size() != 1)
        throw std::invalid_argument("a character line is: character, pinyin, Cantonese, definition");
    for (std::size_t i = 1; i < 4; ++i) {
        if (fields[i].empty() || toSingleByte(fields[i]) != fields[i])
            throw std::invalid_argument("pinyin, Cantonese and definition must be plain ASCII and not empty");
    }
    char code[32];
    std::snprintf(code, sizeof code, "%x\tU+%04X\t-\t", static_cast<unsigned>(character[0]),
                  static_cast<unsigned>(character[0]));
    // A seventh field keeps the line end, which the loader leaves on the last field, out of the Cantonese.
    return code + fields[1] + "\t" + fields[3] + "\t" + fields[2] + "\t-";
}

}  // namespace

void buildDataSet(const fs::path& srcDir, const fs::path& outDir) {
    CUniFileWriter cedict(outDir, "cedict_ts.uni", u"# PeluxBar Chinese-English dictionary: the small set bundled with PeluxBar");
    forEachEntry(srcDir / "cedict.txt", [&](const std::string& line) { cedict.writeLine(wide(line)); });
    CUniFileWriter edict(outDir, "edict.uni", u"# PeluxBar Japanese-English dictionary: the small set bundled with PeluxBar");
    forEachEntry(srcDir / "edict.txt", [&](const std::string& line) { edict.writeLine(wide(line)); });
    CUniFileWriter kanjidic(outDir, "kanjidic.uni", u"# PeluxBar kanji dictionary: the small set bundled with PeluxBar");
    forEachEntry(srcDir / "kanjidic.txt", [&](const std::string& line) { kanjidic.writeLine(kanjidicLine(line)); });
    CByteFileWriter unichin(outDir, "UNICHIN.TXT",
                           "PeluxBar single characters, the small bundled set: code\tU+code\t-\tMandarin\t"
                           "definition\tCantonese\t-");
    forEachEntry(srcDir / "unichin.txt", [&](const std::string& line) { unichin.writeLine(unichinLine(line)); });
    // Only when every source was read whole do the files take the place of the old ones.
    cedict.commit();
    edict.commit();
    kanjidic.commit();
    unichin.commit();
    buildIrregularVerbsFile(outDir);
}

}  // namespace pelux
