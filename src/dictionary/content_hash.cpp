#include "dictionary/content_hash.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/file_mapping.h"

// The whole library is compiled into this file, so nothing links against a shared xxhash and the
// Windows component carries it too.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace pelux {

namespace {

XXH3_state_t* stateOf(unsigned char* bytes) { return std::launder(reinterpret_cast<XXH3_state_t*>(bytes)); }
const XXH3_state_t* stateOf(const unsigned char* bytes) { return std::launder(reinterpret_cast<const XXH3_state_t*>(bytes)); }

}  // namespace

CContentHasher::CContentHasher() {
    static_assert(sizeof(XXH3_state_t) <= kStateBytes && alignof(XXH3_state_t) <= 64);
    XXH3_64bits_reset(new (m_state) XXH3_state_t);
}

void CContentHasher::update(const void* data, std::size_t size) { XXH3_64bits_update(stateOf(m_state), data, size); }

uint64_t CContentHasher::finish() const { return XXH3_64bits_digest(stateOf(m_state)); }

uint64_t contentHash(const void* data, std::size_t size) { return XXH3_64bits(data, size); }

std::optional<FileStamp> statFile(const std::filesystem::path& path) {
    std::error_code error;
    FileStamp stamp;
    stamp.size = std::filesystem::file_size(path, error);
    if (error) return std::nullopt;
    const auto modified = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    stamp.modified = int64_t(modified.time_since_epoch().count());
    return stamp;
}

std::optional<FileStamp> stampFile(const std::filesystem::path& path) {
    std::optional<FileStamp> stamp = statFile(path);
    if (!stamp) return std::nullopt;
    // Through the file port, so that something other than a file put there since the stat is
    // refused instead of waited on.
    const std::unique_ptr<IReadableFile> file = openRegularFile(path);
    if (!file || file->size() != stamp->size) return std::nullopt;
    std::vector<std::byte> chunk(std::size_t(1) << 20);
    CContentHasher hasher;
    for (uint64_t at = 0; at < stamp->size;) {
        const std::size_t want = std::size_t(std::min<uint64_t>(chunk.size(), stamp->size - at));
        if (!file->readAt(at, std::span(chunk.data(), want))) return std::nullopt;
        hasher.update(chunk.data(), want);
        at += want;
    }
    stamp->hash = hasher.finish();
    return stamp;
}

}  // namespace pelux
