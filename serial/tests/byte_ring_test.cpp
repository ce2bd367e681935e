#include "serial/byte_ring.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace varelo {
namespace {

// Fills the free room with the next bytes of a counting sequence, as a read would.
std::size_t fill(ByteRing& ring, std::uint8_t& next, std::size_t most) {
    std::size_t total = 0;
    while (total < most) {
        const std::span<std::uint8_t> room = ring.writable();
        if (room.empty()) break;
        const std::size_t n = std::min(room.size(), most - total);
        for (std::size_t i = 0; i < n; ++i) room[i] = next++;
        ring.commit(n);
        total += n;
    }
    return total;
}

TEST(ByteRing, KeepsOrderAcrossTheWrap) {
    ByteRing ring(10);
    std::uint8_t written = 0;
    std::uint8_t expected = 0;
    // Uneven fills and takes move the oldest byte round the store many times.
    for (const auto& [put, get] : {std::pair{7, 5}, {8, 6}, {3, 9}, {10, 4}, {6, 10}, {10, 10}}) {
        fill(ring, written, put);
        std::uint8_t out[10];
        const std::size_t n = ring.take(out, get);
        for (std::size_t i = 0; i < n; ++i) ASSERT_EQ(out[i], expected++);
        EXPECT_EQ(ring.size(), static_cast<std::size_t>(written - expected));
    }
}

TEST(ByteRing, AcceptsNothingMoreWhenFull) {
    ByteRing ring(4);
    std::uint8_t next = 0;
    EXPECT_EQ(fill(ring, next, 9), 4u);
    EXPECT_TRUE(ring.full());
    EXPECT_TRUE(ring.writable().empty());
    ring.clear();
    EXPECT_EQ(ring.size(), 0u);
    EXPECT_EQ(ring.writable().size(), 4u);
}

}  // namespace
}  // namespace varelo
