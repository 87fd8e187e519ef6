#include "dictionary/content_hash.h"

#include <bit>
#include <cstring>
#include <fstream>
#include <vector>

namespace pelux {

namespace {

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ull;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4Full;

uint64_t readWord(const unsigned char* bytes) {
    uint64_t word = 0;
    for (int i = 7; i >= 0; --i) word = (word << 8) | bytes[i];
    return word;
}

uint64_t mixLane(uint64_t lane, uint64_t word) { return std::rotl(lane + word * kPrime2, 31) * kPrime1; }

uint64_t avalanche(uint64_t h) {
    h ^= h >> 33;
    h *= kPrime2;
    h ^= h >> 29;
    h *= kPrime1;
    return h ^ (h >> 32);
}

}  // namespace

void CContentHasher::mixBlock(const unsigned char* block) {
    for (int lane = 0; lane < 4; ++lane) m_lanes[lane] = mixLane(m_lanes[lane], readWord(block + 8 * lane));
}

void CContentHasher::update(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    m_length += size;
    std::size_t i = 0;
    if (m_pendingSize > 0) {
        while (i < size && m_pendingSize < kBlock) m_pending[m_pendingSize++] = bytes[i++];
        if (m_pendingSize < kBlock) return;
        mixBlock(m_pending);
        m_pendingSize = 0;
    }
    for (; i + kBlock <= size; i += kBlock) mixBlock(bytes + i);
    while (i < size) m_pending[m_pendingSize++] = bytes[i++];
}

uint64_t CContentHasher::finish() const {
    uint64_t h = m_length * kPrime1;
    for (uint64_t lane : m_lanes) h = mixLane(h, lane) ^ std::rotl(h, 27);
    uint64_t tail = 0;
    for (std::size_t i = 0; i < m_pendingSize; ++i) tail = std::rotl(tail ^ m_pending[i], 11) * kPrime1;
    return avalanche(h ^ mixLane(tail, m_length));
}

uint64_t contentHash(const void* data, std::size_t size) {
    CContentHasher hasher;
    hasher.update(data, size);
    return hasher.finish();
}

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
