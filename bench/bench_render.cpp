// Cost of rendering one stored dictionary line for the band: tone marks for Chinese lines and
// the romanized reading for Japanese lines, over the bundled dictionary's own lines.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lookup/composition.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "adapters/utf8.h"

namespace {

using namespace pelux;

// The entry lines of a UTF-8 source file of the bundled set, each ending as stored ("\r" or "\r\n").
std::vector<std::u16string> entryLines(const char* name, const char16_t* storedEnd) {
    std::ifstream in(std::filesystem::path(PELUX_SOURCE_DIR) / "data" / "src" / name);
    std::vector<std::u16string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (auto wide = utf8ToUtf16(line)) lines.push_back(*wide + storedEnd);
    }
    return lines;
}

void renderLines(benchmark::State& state, const std::vector<std::u16string>& lines,
                 std::u16string (*render)(const std::u16string&)) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(render(lines[i]));
        if (++i == lines.size()) i = 0;
    }
    state.SetLabel(std::to_string(lines.size()) + " distinct lines, time per line");
}

void BM_RenderPinyinLine(benchmark::State& state) {
    initToneMarkTable();
    static const std::vector<std::u16string> lines = entryLines("cedict.txt", u"\r");
    renderLines(state, lines, renderPinyinLine);
}
BENCHMARK(BM_RenderPinyinLine);

void BM_RenderJapaneseLine(benchmark::State& state) {
    initKanaRomajiTable();
    static const std::vector<std::u16string> lines = entryLines("edict.txt", u"\r\n");
    renderLines(state, lines, renderJapaneseLine);
}
BENCHMARK(BM_RenderJapaneseLine);

void BM_MarkSyllable(benchmark::State& state) {
    initToneMarkTable();
    const std::u16string runs[] = {u"zhong1", u"guo2", u"ren2", u"shuai4", u"lu:4", u"r5"};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(markSyllable(runs[i]));
        i = (i + 1) % std::size(runs);
    }
}
BENCHMARK(BM_MarkSyllable);

}  // namespace

BENCHMARK_MAIN();
