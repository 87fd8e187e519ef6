#include "dictionary/store_image.h"

#include <cstddef>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "dictionary/kanji_table.h"
#include "platform/file_mapping.h"

namespace pelux {

namespace {

constexpr char kMagic[8] = {'P', 'E', 'L', 'U', 'X', 'I', 'M', 'G'};

enum Section : uint32_t {
    LineText, LineSlots, CharText, CharSlots, IndexSlots, IndexEntries, IndexPool, IndexLists, Stems, Irregular,
    KanjiTable, kSectionCount
};

struct SectionPlace {
    uint64_t offset;
    uint64_t count;
};

struct ImageHeader {
    char magic[8];
    uint32_t version;
    uint32_t language;
    uint32_t loaded;
    uint32_t linesRead;
    FileStamp sources[3];
    uint64_t fileSize;
    uint64_t bodyHash;
    SectionPlace sections[kSectionCount];
    uint64_t headerHash;  // of every field above
};
static_assert(std::is_trivially_copyable_v<ImageHeader> && sizeof(ImageHeader) % 8 == 0);

uint64_t headerHashOf(const ImageHeader& header) { return contentHash(&header, offsetof(ImageHeader, headerHash)); }
static_assert(sizeof(FileStamp) == 24 && sizeof(IndexEntry) == 20 && sizeof(LineSlot) == 8 && sizeof(CharSlot) == 12);

// Pairs of texts as one run of code units: for each pair, the key's length in two units, the
// key, the value's length in two units, the value. `forEach` calls its argument for each pair.
template <typename ForEach>
std::u16string flattenPairs(ForEach forEach) {
    std::u16string flat;
    const auto appendText = [&flat](std::u16string_view text) {
        flat.push_back(char16_t(text.size() & 0xFFFF));
        flat.push_back(char16_t(text.size() >> 16));
        flat.append(text);
    };
    forEach([&](std::u16string_view key, std::u16string_view value) {
        appendText(key);
        appendText(value);
    });
    return flat;
}

// Calls `set` for each pair; false when the run is malformed.
template <typename Set>
bool unflattenTable(std::u16string_view flat, Set set) {
    std::size_t at = 0;
    const auto takeText = [&](std::u16string_view& text) {
        if (flat.size() - at < 2) return false;
        const std::size_t length = std::size_t(flat[at]) | (std::size_t(flat[at + 1]) << 16);
        at += 2;
        if (flat.size() - at < length) return false;
        text = flat.substr(at, length);
        at += length;
        return true;
    };
    while (at < flat.size()) {
        std::u16string_view key, value;
        if (!takeText(key) || !takeText(value)) return false;
        set(key, value);
    }
    return true;
}

template <typename T>
std::string_view bytesOf(std::span<const T> items) {
    return std::string_view(reinterpret_cast<const char*>(items.data()), items.size_bytes());
}

}  // namespace

std::filesystem::path imagePathFor(const std::filesystem::path& directory, DictionaryLanguage language) {
    return directory / (language == Japanese ? "peluxbar-japanese.image" : "peluxbar-chinese.image");
}

bool writeStoreImage(const CDictionary& store, DictionaryLanguage language, const std::filesystem::path& imagePath,
                     const ImageStamps& stamps, const ImageFacts& facts) {
    IFileMapper* mapper = fileMapper();
    if (!mapper) return false;
    const StoreTables tables = store.tables();
    const std::u16string stems = flattenPairs([&store](auto visit) { store.forEachStemOfThisLoad(visit); });
    const std::u16string irregular = flattenPairs([&store](auto visit) { store.irregularForms().forEach(visit); });
    const std::u16string kanji = language == Japanese ? store.kanjiTable().flatten() : std::u16string();
    const std::string_view bodies[kSectionCount] = {
        bytesOf(std::span<const char16_t>(tables.lineText)), bytesOf(tables.lines),
        bytesOf(std::span<const char16_t>(tables.charText)), bytesOf(tables.chars),
        bytesOf(tables.index.slots), bytesOf(tables.index.entries), bytesOf(tables.index.pool),
        bytesOf(tables.index.lists), bytesOf(std::span<const char16_t>(stems)),
        bytesOf(std::span<const char16_t>(irregular)), bytesOf(std::span<const char16_t>(kanji))};
    const std::size_t unitSizes[kSectionCount] = {2, sizeof(LineSlot), 2, sizeof(CharSlot), 8, sizeof(IndexEntry),
                                                  2, sizeof(LineNumber), 2, 2, 2};

    ImageHeader header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.version = kImageVersion;
    header.language = uint32_t(language);
    header.loaded = store.isLoaded() ? 1 : 0;
    header.linesRead = facts.linesRead;
    for (std::size_t i = 0; i < stamps.size(); ++i) header.sources[i] = stamps[i];

    static const char kPadding[8] = {};
    std::vector<std::string_view> pieces{std::string_view()};  // the header, once it is complete
    CContentHasher body;
    uint64_t offset = sizeof(ImageHeader);
    for (uint32_t s = 0; s < kSectionCount; ++s) {
        header.sections[s] = SectionPlace{offset, bodies[s].size() / unitSizes[s]};
        pieces.push_back(bodies[s]);
        const std::size_t padding = (8 - bodies[s].size() % 8) % 8;
        pieces.emplace_back(kPadding, padding);
        offset += bodies[s].size() + padding;
    }
    // The body hash runs over the pieces as the file will hold them, padding included.
    for (std::size_t p = 1; p < pieces.size(); ++p) body.update(pieces[p].data(), pieces[p].size());
    header.fileSize = offset;
    header.bodyHash = body.finish();
    header.headerHash = headerHashOf(header);
    pieces[0] = std::string_view(reinterpret_cast<const char*>(&header), sizeof header);
    return mapper->replaceAtomically(imagePath, pieces);
}

namespace {

// The image's arrays, each checked to lie inside the image at its own alignment.
class CImageReader {
public:
    CImageReader(const CImageBytes& file, const ImageHeader& header) : m_file(file), m_header(header) {}
    bool ok() const { return m_ok; }

    template <typename T>
    std::span<const T> section(Section s) {
        const SectionPlace place = m_header.sections[s];
        if (place.offset % alignof(T) != 0 || place.offset > m_file.size() ||
            place.count > (m_file.size() - place.offset) / sizeof(T)) {
            m_ok = false;
            return {};
        }
        return std::span<const T>(reinterpret_cast<const T*>(m_file.data() + place.offset), std::size_t(place.count));
    }
    std::u16string_view text(Section s) {
        const std::span<const char16_t> units = section<char16_t>(s);
        return std::u16string_view(units.data(), units.size());
    }

private:
    const CImageBytes& m_file;
    const ImageHeader& m_header;
    bool m_ok = true;
};

// What the header says of itself and of the file, looked at before anything else is read: a file of
// any other size is refused without reading it.
bool headerSound(const ImageHeader& header, uint64_t fileSize, DictionaryLanguage language) {
    return std::memcmp(header.magic, kMagic, sizeof kMagic) == 0 && header.version == kImageVersion &&
           header.headerHash == headerHashOf(header) && header.language == uint32_t(language) &&
           header.fileSize == fileSize;
}

bool sourcesMatch(const ImageHeader& header, const ImageSources& sources) {
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::optional<FileStamp> now = statFile(sources[i]);
        if (!now || now->size != header.sources[i].size || now->modified != header.sources[i].modified) return false;
    }
    for (std::size_t i = 0; i < sources.size(); ++i) {
        const std::optional<FileStamp> now = stampFile(sources[i]);
        if (!now || !(*now == header.sources[i])) return false;
    }
    return true;
}

// The whole image in memory of our own, its header sound, made from the sources as they are now
// and the same as the one looked at before the read; null otherwise.
std::shared_ptr<CImageBytes> readImage(const std::filesystem::path& imagePath, DictionaryLanguage language,
                                       const ImageSources& sources, ImageHeader& header) {
    const std::unique_ptr<IReadableFile> file = fileMapper()->openRegular(imagePath);
    if (!file || file->size() < sizeof(ImageHeader) || file->size() > SIZE_MAX) return nullptr;
    if (!file->readAt(0, std::as_writable_bytes(std::span(&header, 1))) || !headerSound(header, file->size(), language) ||
        !sourcesMatch(header, sources))
        return nullptr;
    auto bytes = std::make_shared<CImageBytes>(std::size_t(file->size()));
    if (!file->readAt(0, std::span(bytes->data(), bytes->size()))) return nullptr;
    // The file may have changed between the two reads; what counts is the copy.
    if (std::memcmp(&header, bytes->data(), sizeof header) != 0) return nullptr;
    return bytes;
}

bool linesConsistent(const StoreTables& tables) {
    for (const LineSlot& slot : tables.lines)
        if (slot.at != kNoLine && uint64_t(slot.at) + slot.length > tables.lineText.size()) return false;
    for (std::size_t i = 0; i < tables.chars.size(); ++i) {
        const CharSlot& slot = tables.chars[i];
        if (uint64_t(slot.at) + slot.length > tables.charText.size()) return false;
        if (i > 0 && tables.chars[i - 1].code >= slot.code) return false;
    }
    return tables.index.isConsistent(tables.lineText.size());
}

}  // namespace

std::optional<CheckedImage> openStoreImage(DictionaryLanguage language, const std::filesystem::path& imagePath,
                                           const ImageSources& sources) {
    if (!fileMapper()) return std::nullopt;
    ImageHeader header;
    std::shared_ptr<const CImageBytes> file = readImage(imagePath, language, sources, header);
    if (!file || contentHash(file->data() + sizeof(ImageHeader), file->size() - sizeof(ImageHeader)) != header.bodyHash)
        return std::nullopt;

    CImageReader reader(*file, header);
    CheckedImage image;
    StoreTables& tables = image.tables;
    tables.lineText = reader.text(LineText);
    tables.lines = reader.section<LineSlot>(LineSlots);
    tables.charText = reader.text(CharText);
    tables.chars = reader.section<CharSlot>(CharSlots);
    tables.index.slots = reader.section<uint64_t>(IndexSlots);
    tables.index.entries = reader.section<IndexEntry>(IndexEntries);
    tables.index.pool = reader.section<char16_t>(IndexPool);
    tables.index.lists = reader.section<LineNumber>(IndexLists);
    image.stems = reader.text(Stems);
    image.irregular = reader.text(Irregular);
    image.kanji = reader.text(KanjiTable);
    if (!reader.ok() || !linesConsistent(tables)) return std::nullopt;
    const auto noop = [](std::u16string_view, std::u16string_view) {};
    if (!unflattenTable(image.stems, noop) || !unflattenTable(image.irregular, noop) ||
        !CKanjiTable::isWellFormed(image.kanji))
        return std::nullopt;
    image.loaded = header.loaded != 0;
    image.facts = ImageFacts{header.linesRead};
    image.file = std::move(file);
    return image;
}

void installStoreImage(CDictionary& store, const CheckedImage& image) {
    store.adoptImage(image.tables, image.file, image.loaded);
    unflattenTable(image.stems, [&store](std::u16string_view stem, std::u16string_view word) { store.setStem(stem, word); });
    store.clearIrregular();
    unflattenTable(image.irregular,
                   [&store](std::u16string_view form, std::u16string_view word) { store.setIrregular(form, word); });
    if (store.language() == Japanese) store.kanjiTable().adopt(image.kanji);
}

}  // namespace pelux
