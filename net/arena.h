// CArena: memory for objects that live exactly as long as their owner, handed
// out side by side from a few large blocks and released all at once.
//
// Blocks start small, so that a net of ten nodes costs a few kilobytes, and
// double up to kLargestBlock; from there every block has that size. A block
// is never larger than it must be by more than that, whatever the number of
// objects, where a block of geometric size to the end can leave up to half
// of the last one unused (megabytes in a large net). The arena only hands
// out memory: the owner runs the destructors of what it made in it.
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
