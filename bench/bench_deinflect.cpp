// How well deinflection reads running Japanese. MeCab (scripts/setup.sh --eval) splits each
// sentence of bench/corpus/deinflect_*.ja.txt into words and gives every conjugated verb and
// adjective its dictionary form; the lookup is pointed at the first character of each and at
// every particle. MeCab is the yardstick only; PeluxBar never needs it.
//   bench_deinflect [DICT_DIR]   (default: $PELUXBAR_FULL_DICT_DIR, else the bundled data/ set)
// A reading is right when the band shows the word's dictionary form, or a dictionary word that
// covers more of the text than MeCab's word (取り出す over 取り, 取り扱い over 取り).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "adapters/platform_linux.h"
#include "adapters/utf8.h"
#include "band/engine.h"
#include "dictionary/dictionary_inspection.h"
#include "dictionary/loaders.h"
#include "lookup/cjk_lookup.h"
#include "lookup/kana_romaji.h"

namespace {

pelux::CEngine g_engine;

using namespace pelux;

struct Word {
    std::u16string surface;
    std::u16string dictionaryForm;
    bool conjugated = false;  // a verb or adjective, not in its dictionary form
    bool particle = false;
};

struct Counts {
    size_t conjugated = 0, firstRight = 0, anyRight = 0, particles = 0, particlesDeinflected = 0;
    std::vector<std::string> misses;
};

std::vector<std::string> readSentences(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> sentences;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') sentences.push_back(line);
    }
    return sentences;
}

std::vector<std::string> splitFields(const std::string& text, char separator) {
    std::vector<std::string> fields;
    std::stringstream stream(text);
    for (std::string field; std::getline(stream, field, separator);) fields.push_back(field);
    return fields;
}

// MeCab's words of every sentence, one list a sentence, in the order given.
std::vector<std::vector<Word>> analyse(const std::vector<std::string>& sentences) {
    const std::filesystem::path input = std::filesystem::temp_directory_path() / "peluxbar_bench_deinflect.txt";
    {
        std::ofstream out(input);
        for (const std::string& sentence : sentences) out << sentence << '\n';
    }
    const std::string command = "mecab < '" + input.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    std::vector<std::vector<Word>> analysed(1);
    if (pipe == nullptr) return {};
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        std::string line(buffer);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line == "EOS") {
            analysed.emplace_back();
            continue;
        }
        const size_t tab = line.find('\t');
        if (tab == std::string::npos) continue;
        const std::vector<std::string> features = splitFields(line.substr(tab + 1), ',');
        Word word;
        word.surface = utf8ToUtf16Lenient(line.substr(0, tab));
        if (features.size() > 6) {
            const bool inflecting = (features[0] == "動詞" || features[0] == "形容詞") && features[1] == "自立";
            word.conjugated = inflecting && features[5] != "基本形";
            word.particle = features[0] == "助詞";
            word.dictionaryForm = utf8ToUtf16Lenient(features[6]);
        }
        analysed.back().push_back(std::move(word));
    }
    pclose(pipe);
    std::filesystem::remove(input);
    analysed.pop_back();
    return analysed;
}

// MeCab keeps a potential verb (使える) as a word of its own; the band shows it as the potential
// of the verb it comes from (使う), which is the same word.
bool isPotentialOf(std::u16string_view potential, const DeinflectedWord& shown) {
    const std::u16string_view verb = shown.dictionaryForm;
    return shown.formName.starts_with(u"potential") && potential.size() == verb.size() + 1 && potential.ends_with(u"る") &&
           potential.substr(0, verb.size() - 1) == verb.substr(0, verb.size() - 1);
}

bool shownWordIsRight(const CjkLookupResult& result, const Word& word) {
    if (result.deinflected) {
        return result.deinflected->dictionaryForm == word.dictionaryForm ||
               result.deinflected->dictionaryForm.size() > word.dictionaryForm.size() ||
               isPotentialOf(word.dictionaryForm, *result.deinflected);
    }
    return static_cast<size_t>(result.wordLength) > word.surface.size();
}

bool anyEntryIsRight(const CjkLookupResult& result, const Word& word) {
    if (shownWordIsRight(result, word)) return true;
    const CLineSpan formLines = g_engine.store().entriesFor(word.dictionaryForm);
    return std::any_of(result.readings.begin(), result.readings.end(), [&formLines](const ReadingEntry& entry) {
        return std::find(formLines.begin(), formLines.end(), entry.line) != formLines.end();
    });
}

void pointAtWords(const std::u16string& sentence, const std::vector<Word>& words, Counts& counts) {
    ReaderOptions first;
    first.deinflect = true;
    ReaderOptions all = first;
    all.allEntries = true;
    size_t at = 0;
    for (const Word& word : words) {
        const size_t found = sentence.find(word.surface, at);
        if (found == std::u16string::npos) continue;
        at = found + word.surface.size();
        if (!word.conjugated && !word.particle) continue;
        const std::u16string_view captured = std::u16string_view(sentence).substr(found);
        DictionaryLock lock(g_engine.store().mutex());
        const CjkLookupResult shown = lookupCjkText(g_engine.store(), captured, captured.front(), false, first);
        if (word.particle) {
            ++counts.particles;
            if (shown.deinflected) {
                ++counts.particlesDeinflected;
                counts.misses.push_back("particle " + utf16ToUtf8(captured.substr(0, 8)) + "  shown " +
                                        utf16ToUtf8(shown.deinflected->dictionaryForm) + " (" +
                                        utf16ToUtf8(shown.deinflected->formName) + ")");
            }
            continue;
        }
        ++counts.conjugated;
        const bool right = shownWordIsRight(shown, word);
        counts.firstRight += right ? 1 : 0;
        counts.anyRight += anyEntryIsRight(lookupCjkText(g_engine.store(), captured, captured.front(), false, all), word) ? 1 : 0;
        if (!right) {
            counts.misses.push_back(utf16ToUtf8(captured.substr(0, 12)) + "  want " + utf16ToUtf8(word.dictionaryForm) +
                                    "  shown " +
                                    (shown.deinflected ? utf16ToUtf8(shown.deinflected->dictionaryForm) + " (" +
                                                             utf16ToUtf8(shown.deinflected->formName) + ")"
                                                       : utf16ToUtf8(captured.substr(0, static_cast<size_t>(shown.wordLength)))));
        }
    }
}

double share(size_t part, size_t whole) { return whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole); }

void evaluate(const char* name, const std::filesystem::path& file, bool listMisses) {
    const std::vector<std::string> sentences = readSentences(file);
    const std::vector<std::vector<Word>> analysed = analyse(sentences);
    if (analysed.size() != sentences.size()) {
        std::printf("%s: MeCab gave %zu analyses for %zu sentences (is it installed? scripts/setup.sh --eval)\n", name,
                    analysed.size(), sentences.size());
        return;
    }
    Counts counts;
    for (size_t i = 0; i < sentences.size(); ++i) pointAtWords(utf8ToUtf16Lenient(sentences[i]), analysed[i], counts);
    std::printf("  %-9s %3zu sentences  %4zu conjugated words: right first %6.2f%%  right among all %6.2f%%   "
                "%4zu particles: deinflected %5.2f%%\n",
                name, sentences.size(), counts.conjugated, share(counts.firstRight, counts.conjugated),
                share(counts.anyRight, counts.conjugated), counts.particles,
                share(counts.particlesDeinflected, counts.particles));
    if (listMisses) {
        for (const std::string& miss : counts.misses) std::printf("    miss: %s\n", miss.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path directory = std::filesystem::path(PELUX_SOURCE_DIR) / "data";
    if (argc > 1) {
        directory = argv[1];
    } else if (const char* env = std::getenv("PELUXBAR_FULL_DICT_DIR")) {
        directory = env;
    }
    const bool listMisses = std::getenv("BENCH_DEINFLECT_MISSES") != nullptr;
    registerLinuxPlatform();
    initKanaRomajiTable();
    LoadEnvironment environment;
    environment.directory = directory;
    if (!loadJapaneseDictionary(g_engine.store(), environment)) {
        std::printf("no Japanese dictionary in %s\n", directory.c_str());
        return 1;
    }
    std::printf("Japanese dictionary from %s: %zu lines\n", directory.c_str(), inspect(g_engine.store()).lineCount());
    const std::filesystem::path corpus = std::filesystem::path(PELUX_SOURCE_DIR) / "bench" / "corpus";
    evaluate("tuned", corpus / "deinflect_tune.ja.txt", listMisses);
    evaluate("held out", corpus / "deinflect_heldout.ja.txt", listMisses);
    return 0;
}
