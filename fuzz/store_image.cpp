// The prepared image of the bundled Chinese or Japanese store, edited by the input and then given
// sound hashes and its new size, so that only the checks of the image's structure stand between
// the edits and the store. A store that takes such an image must still answer every lookup
// within its arrays.
//
// Input: one byte choosing the language (its low bit), then edits of six bytes each: a 32-bit
// little-endian place in the image (taken modulo its size), a value, and what to do there (its
// value modulo 3): set the byte, XOR it, or cut the image short at that place.
#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "adapters/platform_linux.h"
#include "band/band_settings.h"
#include "band/engine.h"
#include "browser/pointer_road.h"
#include "dictionary/content_hash.h"
#include "dictionary/loaders.h"
#include "dictionary/store_image.h"
#include "support/fuzz_support.h"

using namespace pelux;
using namespace pelux::fuzzing;

namespace {

CEngine g_engine;

// The header's layout: the fields before the source stamps take 24 bytes, the three stamps 72;
// then the file size, the body hash, ten section places and the header hash.
constexpr size_t kFileSizeAt = 96;
constexpr size_t kBodyHashAt = 104;
constexpr size_t kFirstSectionAt = 112;

constexpr std::array<std::u16string_view, 8> kQueries = {
    u"中国人很多。", u"中國人", u"国", u"日本語を話す。", u"話した", u"running", u"went", u"Japan's",
};

std::array<std::string, 2> g_images;  // Chinese, Japanese

LoadReport load(DictionaryLanguage language) {
    LoadEnvironment environment;
    environment.directory = scratchDirectory();
    return language == Chinese ? loadChineseDictionary(g_engine.store(), environment) : loadJapaneseDictionary(g_engine.store(), environment);
}

uint64_t wordAt(const std::string& image, size_t at) {
    uint64_t word = 0;
    std::memcpy(&word, image.data() + at, 8);
    return word;
}

void setWord(std::string& image, size_t at, uint64_t word) { std::memcpy(image.data() + at, &word, 8); }

// The header ends where the first section starts; its last eight bytes are its hash.
void rehash(std::string& image, size_t headerSize) {
    setWord(image, kFileSizeAt, image.size());
    setWord(image, kBodyHashAt, contentHash(image.data() + headerSize, image.size() - headerSize));
    setWord(image, headerSize - 8, contentHash(image.data(), headerSize - 8));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    registerLinuxPlatform();
    CMemorySettings none;
    initEngine(g_engine, none);
    for (const char* name : {kChineseMainFile, kChineseCharFile, kJapaneseMainFile, kJapaneseCharFile, "irregularverbs.txt"})
        std::filesystem::copy_file(std::filesystem::path(PELUX_DATA_DIR) / name, scratchDirectory() / name,
                                   std::filesystem::copy_options::overwrite_existing);
    for (DictionaryLanguage language : {Chinese, Japanese}) {
        if (!load(language).imageWritten) violated("the bundled store wrote no image");
        std::ifstream in(imagePathFor(scratchDirectory(), language), std::ios::binary);
        g_images[language].assign(std::istreambuf_iterator<char>(in), {});
        const uint64_t headerSize = wordAt(g_images[language], kFirstSectionAt);
        std::string copy = g_images[language];
        rehash(copy, headerSize);
        if (copy != g_images[language]) violated("the header layout here is not the image's");
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const DictionaryLanguage language = (data[0] & 1) ? Japanese : Chinese;
    std::string image = g_images[language];
    const size_t headerSize = size_t(wordAt(image, kFirstSectionAt));
    for (size_t at = 1; at + 6 <= size; at += 6) {
        uint32_t place = 0;
        std::memcpy(&place, data + at, 4);
        const size_t where = place % image.size();
        const uint8_t value = data[at + 4];
        switch (data[at + 5] % 3) {
            case 0: image[where] = char(value); break;
            case 1: image[where] = char(image[where] ^ value); break;
            default: image.resize(std::max(where, headerSize)); break;
        }
    }
    rehash(image, headerSize);
    writeFile(imagePathFor(scratchDirectory(), language), image);
    // The image alone, without the loader's fall-back to the text files, which would cost each
    // refused input a whole text load.
    const std::filesystem::path& scratch = scratchDirectory();
    const ImageSources sources{scratch / (language == Chinese ? kChineseMainFile : kJapaneseMainFile),
                               scratch / (language == Chinese ? kChineseCharFile : kJapaneseCharFile),
                               scratch / "irregularverbs.txt"};
    CDictionary& store = g_engine.store();
    DictionaryLock lock(store.mutex());
    store.resetForLoad(language);
    if (const std::optional<CheckedImage> checked = openStoreImage(language, imagePathFor(scratch, language), sources))
        installStoreImage(store, *checked);
    for (std::u16string_view query : kQueries) {
        const CapturedText captured = captureFromText(std::u16string(query));
        translateCapturedText(g_engine.store(), captured, false);
        translateCapturedText(g_engine.store(), captured, true);
    }
    return 0;
}
