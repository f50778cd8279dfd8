// The arena that holds a net's nodes, rules and links.
#include "net/arena.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace {

bool Aligned(const void *address, size_t alignment) {
    return reinterpret_cast<std::uintptr_t>(address) % alignment == 0;
}

}  // namespace

// Objects of mixed sizes and alignments: each is aligned, none overlaps
// another, and what is written into one stays there while more are made.
TEST(CArena, HandsOutAlignedPiecesThatDoNotOverlap) {
    CArena arena;
    struct Piece {
        unsigned char *start;
        size_t size;
    };
    std::vector<Piece> pieces;
    const size_t sizes[] = {1, 3, 8, 24, 80, 144, 7, 16, 200};
    const size_t alignments[] = {1, 2, 4, 8, 16};
    for (int i = 0; i < 20000; ++i) {
        const size_t size = sizes[i % std::size(sizes)];
        const size_t alignment = alignments[i % std::size(alignments)];
        auto *start = static_cast<unsigned char *>(arena.Allocate(size, alignment));
        ASSERT_TRUE(Aligned(start, alignment)) << "piece " << i;
        std::memset(start, i & 0xFF, size);
        pieces.push_back({start, size});
    }
    for (size_t i = 0; i < pieces.size(); ++i)
        for (size_t k = 0; k < pieces[i].size; ++k) ASSERT_EQ(pieces[i].start[k], i & 0xFF) << "piece " << i;
    std::sort(pieces.begin(), pieces.end(), [](const Piece &a, const Piece &b) { return a.start < b.start; });
    for (size_t i = 1; i < pieces.size(); ++i)
        ASSERT_LE(pieces[i - 1].start + pieces[i - 1].size, pieces[i].start);
}

// Blocks grow from a few kilobytes to a fixed largest size, so what is
// reserved never exceeds what is used by more than one largest block and
// the doubling up to it; an object larger than a block gets its own.
TEST(CArena, ReservesLittleMoreThanItHandsOut) {
    CArena small;
    small.Allocate(100, 8);
    EXPECT_EQ(small.Reserved(), CArena::kFirstBlock);

    CArena large;
    size_t used = 0;
    for (int i = 0; i < 200000; ++i) {
        large.Allocate(144, 8);
        used += 144;
    }
    EXPECT_GE(large.Reserved(), used);
    EXPECT_LE(large.Reserved(), used + 2 * CArena::kLargestBlock);

    const size_t before = large.Reserved();
    void *big = large.Allocate(3 * CArena::kLargestBlock, 16);
    EXPECT_TRUE(Aligned(big, 16));
    EXPECT_EQ(large.Reserved(), before + 3 * CArena::kLargestBlock);
    std::memset(big, 0xAB, 3 * CArena::kLargestBlock);  // the whole piece is there
}
