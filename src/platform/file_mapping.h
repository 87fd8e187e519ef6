// Reading whole files into memory of the process's own, and whole-file replacement, for the
// dictionary files and their prepared image. Nothing is mapped from a file: what a load keeps
// is a copy, so a file that is overwritten, truncated or replaced after the load cannot change
// what is read from it. The replacement is atomic, so a reader sees either the old file or the
// complete new one, never a part.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

namespace pelux {

// A regular file opened for reading.
class IReadableFile {
public:
    virtual ~IReadableFile() = default;
    // The size the file had when it was opened.
    virtual uint64_t size() const = 0;
    // Fills all of `into` from `offset`; false when the file holds fewer bytes there by now or
    // the read fails.
    virtual bool readAt(uint64_t offset, std::span<std::byte> into) = 0;
};

class IFileMapper {
public:
    virtual ~IFileMapper() = default;
    // The regular file at `path`, symbolic links followed; null when it is missing or cannot be
    // read. Anything else there (a FIFO, a device, a folder, a socket) is refused without
    // waiting on it, with a message on standard error.
    virtual std::unique_ptr<IReadableFile> openRegular(const std::filesystem::path& path) = 0;
    // Writes the pieces, one after another, to a new file beside `path` and renames it over
    // `path`. False, leaving `path` as it was, when the folder is not writable or any step fails.
    virtual bool replaceAtomically(const std::filesystem::path& path, std::span<const std::string_view> pieces) = 0;
};

// The platform registers its mapper once at start-up. Without one there is no image: every load
// reads the text files. Process-wide, not an engine's: it holds no state, and the command line
// checks files before it has an engine.
void setFileMapper(IFileMapper* mapper);
IFileMapper* fileMapper();

// The registered mapper's openRegular; without one, the standard library's streams after a check
// that `path` names a regular file, null (and no message) when it does not.
std::unique_ptr<IReadableFile> openRegularFile(const std::filesystem::path& path);

}  // namespace pelux
