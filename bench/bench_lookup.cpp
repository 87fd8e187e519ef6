// Cost of one pointer event after capture: road choice, lookup and composition, with a dictionary
// loaded. Prints mean and 99th percentile per road.
//   bench_lookup [DICT_DIR [ROUNDS]]   (default: $PELUXBAR_DICT_DIR, else the bundled data/ set;
//                                      ROUNDS: passes over the corpus, 5 by default; more for a profile)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "browser/pointer_road.h"
#include "lookup/cjk_lookup.h"
#include "dictionary/loaders.h"
#include "lookup/kana_romaji.h"
#include "lookup/pinyin.h"
#include "adapters/platform_linux.h"
#include "adapters/utf8.h"
#include "band/engine.h"
#include "dictionary/dictionary_inspection.h"
#include "host/native_messages.h"
#include "host/native_replies.h"
#include "support/corpus_texts.h"

namespace {

pelux::CEngine g_engine;

using namespace pelux;

int gRounds = 5;
using Clock = std::chrono::steady_clock;

using testing_support::englishWords;
using testing_support::readCorpus;
using testing_support::sentenceTails;

void report(const char* name, const std::vector<std::u16string>& texts, bool subWords) {
    std::vector<double> micros;
    size_t output = 0;
    for (int round = 0; round < gRounds; ++round) {
        for (const std::u16string& text : texts) {
            const auto started = Clock::now();
            const DisplayText display = translateCapturedText(g_engine.store(), captureFromText(text), subWords);
            micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - started).count());
            output += display.bandText.size();
        }
    }
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (double m : micros) sum += m;
    std::printf("  %-28s %5zu texts x%d mean %7.2f us   p50 %7.2f us   p99 %7.2f us   (%zu chars shown)\n", name,
                texts.size(), gRounds, sum / static_cast<double>(micros.size()), micros[micros.size() / 2],
                micros[micros.size() * 99 / 100], output);
}

// Deinflection on: the same timing, and the share of positions where a conjugated word covers more
// of the text than the plain longest match. With Hepburn on, each shown reading is also split
// between its kanji.
void reportDeinflection(const char* name, const std::vector<std::u16string>& tails, bool hepburn) {
    ReaderOptions reader;
    reader.deinflect = true;
    reader.hepburnRomaji = hepburn;
    std::vector<double> micros;
    for (int round = 0; round < gRounds; ++round) {
        for (const std::u16string& text : tails) {
            const auto started = Clock::now();
            translateCapturedText(g_engine.store(), captureFromText(text), true, reader);
            micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - started).count());
        }
    }
    std::sort(micros.begin(), micros.end());
    double sum = 0;
    for (double m : micros) sum += m;
    size_t longer = 0;
    for (const std::u16string& text : tails) {
        DictionaryLock lock(g_engine.store().mutex());
        if (lookupCjkText(g_engine.store(), text, text.front(), false, reader).deinflected) ++longer;
    }
    std::printf("  %-28s %5zu texts x%d mean %7.2f us   p50 %7.2f us   p99 %7.2f us   (deinflected word longer at "
                "%zu positions, %.1f%%)\n",
                name, tails.size(), gRounds, sum / static_cast<double>(micros.size()),
                micros[micros.size() / 2], micros[micros.size() * 99 / 100], longer,
                100.0 * static_cast<double>(longer) / static_cast<double>(tails.size()));
}

// The host's own work for one pointer event with the reader's popup on: reading the browser's
// message, the lookup and composition, the reply with its popup fields, and its serialization;
// with the card, also the entries as data in the reply. Only the pipe's read and write are left out.
// The two are timed in alternate rounds, so a busy machine slows both alike.
void reportHostReplies(const std::vector<std::u16string>& tails) {
    std::vector<std::string> frames;
    for (const std::u16string& text : tails) {
        const std::string utf8 = utf16ToUtf8(text);
        frames.push_back(nlohmann::json{{"type", "pointer"}, {"tab", 1}, {"frame", 0}, {"seq", 1}, {"x", 10}, {"y", 10},
                                        {"character", utf16ToUtf8(text.substr(0, 1))}, {"word", utf8},
                                        {"sentence", utf8}, {"hasBody", true}}
                             .dump());
    }
    std::vector<double> micros[2];
    std::size_t bytes[2] = {0, 0};
    for (int round = 0; round < 2 * gRounds; ++round) {
        const bool withCard = round % 2 == 1;
        for (std::size_t i = 0; i < tails.size(); ++i) {
            const auto started = Clock::now();
            std::string error;
            const std::optional<InboundMessage> message = parseInboundMessage(frames[i], error);
            if (!message) std::abort();
            const std::u16string& sentence = std::get<PointerMessage>(*message).sentence;
            std::optional<CardData> card;
            const DisplayText display =
                translateCapturedText(g_engine.store(), captureFromText(sentence), true, {}, withCard ? &card : nullptr);
            ReaderFields fields;
            fields.language = g_engine.store().language();
            ReaderPopup& popup = fields.popup.emplace();
            popup.match = display.matchedLength;
            popup.color = u"#000000";
            popup.card = std::move(card);
            bytes[withCard] += pointerReplyText(1, 0, 1, display.bandText, display.tooltipText, fields).size();
            micros[withCard].push_back(std::chrono::duration<double, std::micro>(Clock::now() - started).count());
        }
    }
    double means[2];
    for (int withCard = 0; withCard < 2; ++withCard) {
        std::vector<double>& m = micros[withCard];
        std::sort(m.begin(), m.end());
        double sum = 0;
        for (double value : m) sum += value;
        means[withCard] = sum / static_cast<double>(m.size());
        std::printf("  %-28s %5zu texts x%d mean %7.2f us   p50 %7.2f us   p99 %7.2f us   (%zu reply bytes)\n",
                    withCard ? "host event, popup and card" : "host event, popup, no card", tails.size(), gRounds,
                    means[withCard], m[m.size() / 2], m[m.size() * 99 / 100], bytes[withCard]);
    }
    std::printf("  %-28s %+.1f%% mean, %+.1f%% p50\n", "card's share of host event", 100.0 * (means[1] / means[0] - 1),
                100.0 * (micros[1][micros[1].size() / 2] / micros[0][micros[0].size() / 2] - 1));
}

void load(bool chinese, const std::filesystem::path& directory) {
    LoadEnvironment environment;
    environment.directory = directory;
    const auto started = Clock::now();
    if (chinese) {
        loadChineseDictionary(g_engine.store(), environment);
    } else {
        loadJapaneseDictionary(g_engine.store(), environment);
    }
    std::printf("%s dictionary from %s: %zu lines, loaded in %.0f ms\n", chinese ? "Chinese" : "Japanese",
                directory.c_str(), inspect(g_engine.store()).lineCount(),
                std::chrono::duration<double, std::milli>(Clock::now() - started).count());
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path directory = std::filesystem::path(PELUX_SOURCE_DIR) / "data";
    if (argc > 1) {
        directory = argv[1];
    } else if (const char* env = std::getenv("PELUXBAR_DICT_DIR")) {
        directory = env;
    }
    if (argc > 2) gRounds = std::max(1, std::atoi(argv[2]));
    registerLinuxPlatform();
    initKanaRomajiTable();
    initToneMarkTable();

    const std::vector<std::u16string> words = englishWords(readCorpus("en.txt"));
    for (bool chinese : {true, false}) {
        load(chinese, directory);
        const std::vector<std::u16string> tails = sentenceTails(readCorpus(chinese ? "zh.txt" : "ja.txt"));
        report(chinese ? "Chinese tails, sub-words on" : "Japanese tails, sub-words on", tails, true);
        report(chinese ? "Chinese tails, sub-words off" : "Japanese tails, sub-words off", tails, false);
        report("English words, sub-words on", words, true);
        reportHostReplies(tails);
        if (chinese) continue;
        reportDeinflection("Japanese tails, deinflect on", tails, false);
        reportDeinflection("  and Hepburn on", tails, true);
    }
    return 0;
}
