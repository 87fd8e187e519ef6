#include "dictionary/content_hash.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace pelux {
namespace {

std::string bytePattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = char(i * 7);
    return bytes;
}

// The values are XXH3's (64 bits, seed 0), so an image's hashes mean the same to any tool; the
// long input crosses the library's internal block and buffer sizes, where a streaming fault shows.
TEST(ContentHash, IsXxh3WhateverTheCutIntoCalls) {
    const struct {
        std::string bytes;
        uint64_t hash;
    } cases[] = {
        {"", 0x2D06800538D394C2ull},
        {"abc", 0x78AF5F94892F3950ull},
        {"中国人很多", 0xBE66C8E99C548A79ull},
        {bytePattern(1000), 0x10AD30264426C830ull},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(contentHash(c.bytes.data(), c.bytes.size()), c.hash) << c.bytes.size();
        for (const std::size_t piece : {1u, 7u, 255u, 256u, 999u}) {
            CContentHasher hasher;
            for (std::size_t at = 0; at < c.bytes.size(); at += piece)
                hasher.update(c.bytes.data() + at, std::min(piece, c.bytes.size() - at));
            EXPECT_EQ(hasher.finish(), c.hash) << c.bytes.size() << " in pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace pelux
