// A fast 64-bit hash of file contents, to tell whether a dictionary file or an image is the one
// it claims to be. Not for hostile collisions: it guards against edits and damage.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace pelux {

class CContentHasher {
public:
    // The hash does not depend on how the bytes are cut into calls.
    void update(const void* data, std::size_t size);
    uint64_t finish() const;

private:
    static constexpr std::size_t kBlock = 32;
    void mixBlock(const unsigned char* block);

    uint64_t m_lanes[4] = {0x9E3779B97F4A7C15ull, 0xC2B2AE3D27D4EB4Full, 0x165667B19E3779F9ull, 0x27D4EB2F165667C5ull};
    unsigned char m_pending[kBlock] = {};
    std::size_t m_pendingSize = 0;
    uint64_t m_length = 0;
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
