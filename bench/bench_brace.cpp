// Brace-group search speed over 10,000-character texts: the translation reply extraction and the
// pinyin run scan, plus a long backtracking loop. Reports ns per search.
#include <benchmark/benchmark.h>

#include <string>

#include "patterns/brace_regexp.h"

namespace {

using pelux::CBraceMatch;
using pelux::CBraceRegExp;

constexpr size_t kTextLength = 10000;

// An HTML-like translation reply whose textarea sits near the end, as in real replies.
std::u16string htmlReply() {
    std::u16string text = u"<html><head><title>Translate</title></head><body>";
    const std::u16string filler = u"<div class=\"row\"><span id=\"s\">text 文字</span><a href=\"/x\">link</a></div>\n";
    while (text.size() + filler.size() < kTextLength - 200) text += filler;
    text += u"<form><textarea name=\"q\" rows=\"5\">中国 是 一个 大 国家。China is a big country.</textarea></form>";
    while (text.size() < kTextLength) text += u' ';
    return text;
}

// Pinyin runs separated by blanks and punctuation, like the reading part of dictionary lines.
std::u16string pinyinText() {
    std::u16string text;
    const std::u16string words[] = {u"ni3:hao3", u"zhong1", u"guo2", u"ren2", u"lü4", u"xue2:sheng5"};
    for (size_t i = 0; text.size() < kTextLength; ++i) text += words[i % 6] + (i % 4 == 3 ? u", " : u" ");
    return text.substr(0, kTextLength);
}

void runSearch(benchmark::State& state, const char16_t* pattern, const std::u16string& text, bool scanAll) {
    CBraceRegExp regexp;
    if (regexp.compile(pattern, true) != pelux::BraceOk) {
        state.SkipWithError("pattern did not compile");
        return;
    }
    CBraceMatch match(256);
    size_t found = 0;
    for (auto _ : state) {
        const char16_t* at = text.c_str();
        const char16_t* end = nullptr;
        while (regexp.search(at, &match, &end)) {
            ++found;
            if (!scanAll || end == at) break;
            at = end;
        }
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = static_cast<double>(found) / static_cast<double>(state.iterations());
    state.counters["chars"] = static_cast<double>(text.size());
}

void BM_TextareaReply(benchmark::State& state) {
    runSearch(state, u"<textarea.*?>{.*?}<\\/textarea>", htmlReply(), false);
}

// One search: the first pinyin run at the start of the text.
void BM_PinyinRunFirst(benchmark::State& state) { runSearch(state, u"{(\\a|:)+}", pinyinText(), false); }

// Every run of the text, one search after another through the end pointer.
void BM_PinyinRunsWholeText(benchmark::State& state) { runSearch(state, u"{(\\a|:)+}", pinyinText(), true); }

// A greedy loop over the whole text that has to give back every character.
void BM_AlternationLoopBacktracking(benchmark::State& state) {
    std::u16string text;
    while (text.size() + 1 < kTextLength) text += text.size() % 2 ? u'b' : u'a';
    runSearch(state, u"^(a|b)*c", text + u'a', false);
}

}  // namespace

BENCHMARK(BM_TextareaReply)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_PinyinRunFirst)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_PinyinRunsWholeText)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_AlternationLoopBacktracking)->Unit(benchmark::kNanosecond);

BENCHMARK_MAIN();
