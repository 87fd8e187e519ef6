#include "dictionary/content_hash.h"

#include <fstream>
#include <new>
#include <vector>

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
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<char> chunk(std::size_t(1) << 20);
    CContentHasher hasher;
    uint64_t total = 0;
    while (in) {
        in.read(chunk.data(), std::streamsize(chunk.size()));
        const std::size_t got = std::size_t(in.gcount());
        hasher.update(chunk.data(), got);
        total += got;
    }
    if (in.bad() || total != stamp->size) return std::nullopt;
    stamp->hash = hasher.finish();
    return stamp;
}

}  // namespace pelux
