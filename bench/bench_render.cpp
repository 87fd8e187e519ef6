// Cost of rendering one stored dictionary line for the band: tone marks for Chinese lines and
// the romanized reading for Japanese lines, over the bundled dictionary's own lines, and the worst
// case: malformed lines of 1M code units in each shape that once made rendering superlinear.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "lookup/line_rendering.h"
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
    renderLines(state, lines, [](const std::u16string& line) { return renderPinyinLine(line); });
}
BENCHMARK(BM_RenderPinyinLine);

void BM_RenderJapaneseLine(benchmark::State& state) {
    initKanaRomajiTable();
    static const std::vector<std::u16string> lines = entryLines("edict.txt", u"\r\n");
    renderLines(state, lines, [](const std::u16string& line) { return renderJapaneseLine(line); });
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

constexpr size_t kWorstLength = size_t(1) << 20;

struct MalformedLine {
    const char* shape;
    bool chinese;
    std::u16string text;
};

std::u16string repeated(std::u16string_view piece, size_t length) {
    std::u16string text;
    while (text.size() < length) text += piece;
    return text;
}

const std::vector<MalformedLine>& malformedLines() {
    static const std::vector<MalformedLine> lines = {
        {"Chinese, no [", true, u"\u4E2D " + repeated(u"a", kWorstLength) + u" /x/"},
        {"Chinese, [ without ]", true, u"\u4E2D " + repeated(u"[", kWorstLength)},
        {"Chinese, pinyin run without digit", true, u"\u4E2D [" + repeated(u"a", kWorstLength) + u"] /x/"},
        {"Japanese, no blank before /", false, u"\u65E5" + repeated(u"a", kWorstLength) + u"/x/"},
        {"Japanese, word then blanks", false, u"\u65E5" + repeated(u" ", kWorstLength)},
        {"Japanese, [ without ]", false, repeated(u"x [a", kWorstLength)},
    };
    return lines;
}

void BM_RenderMalformedLine(benchmark::State& state) {
    initToneMarkTable();
    initKanaRomajiTable();
    const MalformedLine& line = malformedLines()[static_cast<size_t>(state.range(0))];
    for (auto _ : state) {
        benchmark::DoNotOptimize(line.chinese ? renderPinyinLine(line.text) : renderJapaneseLine(line.text));
    }
    state.SetLabel(std::string(line.shape) + ", " + std::to_string(line.text.size()) + " code units");
}
BENCHMARK(BM_RenderMalformedLine)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The slowest of the shapes above, by its mean over the run: the bound a hover can cost on any line.
void BM_RenderWorstLine(benchmark::State& state) {
    initToneMarkTable();
    initKanaRomajiTable();
    std::vector<double> totals(malformedLines().size());
    for (auto _ : state) {
        for (size_t i = 0; i < totals.size(); ++i) {
            const MalformedLine& line = malformedLines()[i];
            const auto started = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(line.chinese ? renderPinyinLine(line.text) : renderJapaneseLine(line.text));
            totals[i] += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
        }
    }
    const double worst = *std::max_element(totals.begin(), totals.end());
    state.counters["worst_line_ms"] = worst / static_cast<double>(state.iterations());
    state.SetLabel("every shape at 1M code units; worst_line_ms: mean render time of the slowest shape");
}
BENCHMARK(BM_RenderWorstLine)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
