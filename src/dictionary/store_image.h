// The prepared image of a loaded store: everything a complete load of one language produces, in
// one file beside the dictionary files, read whole on the next load instead of reading the text
// files again. It is tied to the exact text files it came from (size, modification time
// and content hash of each) and carries a hash of its own body; a load uses it only when every
// check passes, and otherwise reads the text files and writes a new one.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "dictionary/content_hash.h"
#include "dictionary/dictionary.h"

namespace pelux {

inline constexpr uint32_t kImageVersion = 3;

// The main file, the per-character file and irregularverbs.txt, in that order.
using ImageSources = std::array<std::filesystem::path, 3>;
using ImageStamps = std::array<FileStamp, 3>;

std::filesystem::path imagePathFor(const std::filesystem::path& directory, DictionaryLanguage language);

// What the load that made the image showed last: the number of main-file lines it read.
struct ImageFacts {
    uint32_t linesRead = 0;
};

// The bytes of an image file in memory of the process's own: what a load reads from them stays as
// it was read whatever later happens to the file.
class CImageBytes {
public:
    explicit CImageBytes(std::size_t size) : m_bytes(std::make_unique_for_overwrite<std::byte[]>(size)), m_size(size) {}
    std::byte* data() { return m_bytes.get(); }
    const std::byte* data() const { return m_bytes.get(); }
    std::size_t size() const { return m_size; }

private:
    std::unique_ptr<std::byte[]> m_bytes;
    std::size_t m_size;
};

// An image that passed every check, read and ready to become the store's content.
struct CheckedImage {
    StoreTables tables;
    std::u16string_view stems;      // flattened pairs
    std::u16string_view irregular;  // flattened pairs
    std::u16string_view kanji;      // the flattened kanji table; empty for Chinese
    bool loaded = false;
    ImageFacts facts;
    std::shared_ptr<const CImageBytes> file;
};

// The image when it is sound and matches the source files as they are now; nullopt otherwise.
std::optional<CheckedImage> openStoreImage(DictionaryLanguage language, const std::filesystem::path& imagePath,
                                           const ImageSources& sources);
// Makes the image the content of `store`, which a load has just reset.
void installStoreImage(CDictionary& store, const CheckedImage& image);

// Writes the image of what `store` holds after a complete load; false when it could not be
// written (no mapper registered, folder not writable).
bool writeStoreImage(const CDictionary& store, DictionaryLanguage language, const std::filesystem::path& imagePath,
                     const ImageStamps& stamps, const ImageFacts& facts);

}  // namespace pelux
