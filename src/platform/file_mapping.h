// Read-only file mappings and whole-file replacement, for the prepared dictionary image. A
// mapping lets every process that loads the same image share its pages; the replacement is
// atomic, so a reader sees either the old file or the complete new one, never a part.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

namespace pelux {

class IMappedFile {
public:
    virtual ~IMappedFile() = default;
    virtual const std::byte* data() const = 0;
    virtual std::size_t size() const = 0;
};

class IFileMapper {
public:
    virtual ~IFileMapper() = default;
    // Null when the file cannot be opened or mapped (an empty file maps to nothing either).
    virtual std::unique_ptr<IMappedFile> mapReadOnly(const std::filesystem::path& path) = 0;
    // Writes the pieces, one after another, to a new file beside `path` and renames it over
    // `path`. False, leaving `path` as it was, when the folder is not writable or any step fails.
    virtual bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) = 0;
};

// The platform registers its mapper once at start-up. Without one there is no image: every load
// reads the text files.
void setFileMapper(IFileMapper* mapper);
IFileMapper* fileMapper();

}  // namespace pelux
