// The texts of bench/corpus as a pointer meets them: every tail of every Chinese or Japanese
// sentence, and every English word followed by the blank that ends it.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "adapters/utf8.h"

namespace pelux::testing_support {

inline std::u16string readCorpus(const char* name) {
    std::ifstream in(std::filesystem::path(PELUX_SOURCE_DIR) / "bench" / "corpus" / name);
    std::stringstream text;
    text << in.rdbuf();
    return utf8ToUtf16(text.str()).value_or(u"");
}

inline std::vector<std::u16string> sentenceTails(const std::u16string& corpus) {
    std::vector<std::u16string> tails;
    std::size_t start = 0;
    while (start < corpus.size()) {
        std::size_t end = corpus.find_first_of(u"。？！\n", start);
        end = end == std::u16string::npos ? corpus.size() : end + 1;
        for (std::size_t i = start; i < end; ++i)
            if (corpus[i] != u'\n') tails.push_back(corpus.substr(i, end - i));
        start = end;
    }
    return tails;
}

inline std::vector<std::u16string> englishWords(const std::u16string& corpus) {
    std::vector<std::u16string> words;
    std::u16string word;
    for (char16_t c : corpus + u" ") {
        if ((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'\'') {
            word.push_back(c);
        } else if (!word.empty()) {
            words.push_back(word + u" ");
            word.clear();
        }
    }
    return words;
}

// Both roads for one dictionary: its own script's sentence tails, then the English words.
inline std::vector<std::u16string> corpusTexts(bool japanese) {
    std::vector<std::u16string> texts = sentenceTails(readCorpus(japanese ? "ja.txt" : "zh.txt"));
    for (std::u16string& word : englishWords(readCorpus("en.txt"))) texts.push_back(std::move(word));
    return texts;
}

}  // namespace pelux::testing_support
