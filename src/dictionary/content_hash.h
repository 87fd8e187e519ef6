// A fast 64-bit hash of file contents (XXH3), to tell whether a dictionary file or an image is the
// one it claims to be. Not for hostile collisions: it guards against edits and damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace pelux {

class CContentHasher {
public:
    CContentHasher();
    // The hash does not depend on how the bytes are cut into calls.
    void update(const void* data, std::size_t size);
    uint64_t finish() const;

private:
    // The hashing library's streaming state, held in place so that this header does not pull the
    // library's declarations into every file that stamps a file; content_hash.cpp checks the size.
    static constexpr std::size_t kStateBytes = 640;
    alignas(64) unsigned char m_state[kStateBytes];
};

uint64_t contentHash(const void* data, std::size_t size);

// What ties a loaded file to the image made from it.
struct FileStamp {
    uint64_t size = 0;
    int64_t modified = 0;  // the file system's modification time, in its own ticks
    uint64_t hash = 0;
    bool operator==(const FileStamp&) const = default;
};

// Size and time only; nullopt when the file is missing.
std::optional<FileStamp> statFile(const std::filesystem::path& path);
// Size, time and the hash of the whole file, read in pieces; nullopt when it cannot be read.
std::optional<FileStamp> stampFile(const std::filesystem::path& path);

}  // namespace pelux
