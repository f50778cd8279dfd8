// CArena: memory for objects that live exactly as long as their owner, handed
// out side by side from a few large blocks and released all at once.
//
// Blocks start small, so that a net of ten nodes costs a few kilobytes, and
// double up to kLargestBlock; from there every block has that size. So the
// unused end of the last block stays under a megabyte, where blocks that
// kept growing could leave most of a last block of many megabytes unused.
// The arena only hands out memory: the owner runs the destructors of what
// it made in it.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CArena {
public:
    static constexpr size_t kFirstBlock = 4096;
    static constexpr size_t kLargestBlock = size_t(1) << 20;

    CArena() = default;
    CArena(const CArena &) = delete;
    CArena &operator=(const CArena &) = delete;

    // `bytes` at a multiple of `alignment` (a power of two, at most that of
    // operator new). Never null; throws std::bad_alloc as new does.
    void *Allocate(size_t bytes, size_t alignment);

    // The bytes of every block taken, used or not.
    size_t Reserved() const { return reserved; }

private:
    void AddBlock(size_t atLeast);

    std::vector<std::unique_ptr<std::byte[]>> blocks;
    std::byte *next = nullptr;  // the first free byte of the last block
    size_t left = 0;            // free bytes from `next` on
    size_t nextBlock = kFirstBlock;
    size_t reserved = 0;
};
