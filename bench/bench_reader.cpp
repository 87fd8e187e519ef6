// Cost of the reader's renderings beside the classic ones: standard pinyin against the band's
// tone marks, Hepburn against the dotted romaji, and the ranking of a key's lines.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "lookup/composition.h"
#include "lookup/entry_ranking.h"
#include "lookup/hepburn_romaji.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "lookup/standard_pinyin.h"

namespace {

using namespace pelux;

const std::vector<std::u16string> kChineseLines = {
    u"中國人 中国人 [Zhong1 guo2 ren2] /Chinese person/\r",
    u"國 国 [guo2] /country/nation/state/national/CL:個|个[ge4]/\r",
    u"北京大學 北京大学 [Bei3 jing1 Da4 xue2] /Peking University/\r",
    u"女兒 女儿 [nu:3 er2] /daughter/\r",
    u"一點兒 一点儿 [yi1 dian3 r5] /a little/a bit/\r",
};

const std::vector<std::u16string> kJapaneseLines = {
    u"東京 [とうきょう] /(n) Tokyo/(P)/\r\n",
    u"中国 [ちゅうごく] /(n) China/(P)/\r\n",
    u"抹茶 [まっちゃ] /(n) powdered green tea/\r\n",
    u"禁煙 [きんえん] /(n) no smoking/\r\n",
    u"ラーメン /(n) ramen/\r\n",
};

template <typename Render>
void renderEach(benchmark::State& state, const std::vector<std::u16string>& lines, Render render) {
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(render(lines[i]));
        if (++i == lines.size()) i = 0;
    }
    state.SetLabel("time per line");
}

void BM_ClassicPinyinLine(benchmark::State& state) {
    initToneMarkTable();
    renderEach(state, kChineseLines, [](const std::u16string& line) { return renderPinyinLine(line); });
}
BENCHMARK(BM_ClassicPinyinLine);

void BM_StandardPinyinLine(benchmark::State& state) {
    renderEach(state, kChineseLines, [](const std::u16string& line) { return renderStandardPinyinLine(line); });
}
BENCHMARK(BM_StandardPinyinLine);

void BM_ClassicJapaneseLine(benchmark::State& state) {
    initKanaRomajiTable();
    renderEach(state, kJapaneseLines, [](const std::u16string& line) { return renderJapaneseLine(line, false); });
}
BENCHMARK(BM_ClassicJapaneseLine);

void BM_HepburnJapaneseLine(benchmark::State& state) {
    initKanaRomajiTable();
    renderEach(state, kJapaneseLines, [](const std::u16string& line) { return renderJapaneseLine(line, true); });
}
BENCHMARK(BM_HepburnJapaneseLine);

// A key with many lines, as a common kana reading has in EDICT.
void BM_RankHundredLines(benchmark::State& state) {
    std::vector<std::u16string> texts;
    LineList lines;
    for (int i = 0; i < 100; ++i) {
        texts.push_back(i % 7 == 0 ? u"x [x] /surname X/" : i % 5 == 0 ? u"x [x] /thing/(P)/" : u"x [x] /thing/");
        lines.push_back(i);
    }
    const auto textOf = [&texts](LineNumber line) { return std::u16string_view(texts[static_cast<size_t>(line)]); };
    for (auto _ : state) benchmark::DoNotOptimize(rankEntryLines(lines, kMaxEntriesPerWord, textOf));
}
BENCHMARK(BM_RankHundredLines);

}  // namespace

BENCHMARK_MAIN();
