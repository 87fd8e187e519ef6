// One dictionary file (PELUX_FUZZ_FILE) as arbitrary bytes beside the first lines of the four
// bundled ones, loaded by the loader that reads it, then looked up on both roads with and without
// sub-words.
#include <array>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "adapters/platform_linux.h"
#include "band/band_settings.h"
#include "band/engine.h"
#include "browser/pointer_road.h"
#include "dictionary/loaders.h"
#include "support/fuzz_support.h"

using namespace pelux;
using namespace pelux::fuzzing;

namespace {

CEngine g_engine;

constexpr std::string_view kFuzzedFile = PELUX_FUZZ_FILE;
// Enough of each partner file for the lookups to find its first words, and short enough that
// reading it costs little beside the fuzzed file. Even, so UTF-16 units stay whole.
constexpr size_t kPartnerFileBytes = 2000;

// Words the bundled files hold, on each road, so that lookups reach the lines they index.
constexpr std::array<std::u16string_view, 8> kFixedQueries = {
    u"中国人很多。", u"中國人", u"国", u"日本語を話す。", u"話した", u"running", u"went", u"Japan's",
};

bool isUtf16File() { return kFuzzedFile.ends_with(".uni"); }

// The file's text as its loader reads it: UTF-16LE for the .uni files, a byte a character else.
std::u16string fileText(std::string_view bytes) {
    std::u16string text;
    if (isUtf16File()) {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            text.push_back(char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8));
    } else {
        for (char byte : bytes) text.push_back(uint8_t(byte));
    }
    return text;
}

// The beginnings of the file's first lines: the words the file itself would index.
std::vector<std::u16string> queriesFrom(std::u16string_view text) {
    std::vector<std::u16string> queries;
    size_t start = 0;
    while (queries.size() < 6 && start < text.size()) {
        const size_t end = std::min(text.find(u'\n', start), text.size());
        const std::u16string_view line = text.substr(start, std::min<size_t>(end - start, 24));
        const size_t blank = line.find_first_of(u" \t\r[");
        if (blank > 0) queries.emplace_back(line.substr(0, blank));
        if (!line.empty() && blank != std::u16string_view::npos) queries.emplace_back(line);
        start = end + 1;
    }
    return queries;
}

void lookUp(std::u16string query) {
    if (query.empty()) return;
    const CapturedText captured = captureFromText(std::move(query));
    translateCapturedText(g_engine.store(), captured, false);
    translateCapturedText(g_engine.store(), captured, true);
}

// Both loaders read irregularverbs.txt; the others belong to one of them.
void load(bool japanese) {
    LoadEnvironment environment;
    environment.directory = scratchDirectory();
    const bool ran = (japanese ? loadJapaneseDictionary(g_engine.store(), environment) : loadChineseDictionary(g_engine.store(), environment)).ran;
    if (!ran) violated("a load on the only thread was refused");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    registerLinuxPlatform();
    CMemorySettings none;
    initEngine(g_engine, none);
    for (const auto& entry : std::filesystem::directory_iterator(PELUX_DATA_DIR)) {
        if (!entry.is_regular_file()) continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::string head(kPartnerFileBytes, '\0');
        in.read(head.data(), std::streamsize(head.size()));
        head.resize(size_t(in.gcount()));
        writeFile(scratchDirectory() / entry.path().filename(), head);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes = bytesOf(data, size);
    writeFile(scratchDirectory() / kFuzzedFile, bytes);
    const bool japaneseFile = kFuzzedFile == kJapaneseMainFile || kFuzzedFile == kJapaneseCharFile;
    const bool japanese = kFuzzedFile == "irregularverbs.txt" ? size % 2 == 1 : japaneseFile;
    load(japanese);
    for (std::u16string_view query : kFixedQueries) lookUp(std::u16string(query));
    for (std::u16string& query : queriesFrom(fileText(bytes))) lookUp(std::move(query));
    return 0;
}
