#include "net/arena.h"

#include <cstdint>
#include <new>

void *CArena::Allocate(size_t bytes, size_t alignment) {
    const auto address = reinterpret_cast<std::uintptr_t>(next);
    size_t padding = (alignment - address % alignment) % alignment;
    if (next == nullptr || padding + bytes > left) {
        AddBlock(bytes);
        padding = 0;  // a new block is aligned for anything operator new serves
    }
    std::byte *object = next + padding;
    next = object + bytes;
    left -= padding + bytes;
    return object;
}

void CArena::AddBlock(size_t atLeast) {
    size_t size = nextBlock;
    if (nextBlock < kLargestBlock) nextBlock *= 2;
    // An object larger than a block gets a block of its own size.
    if (size < atLeast) size = atLeast;
    blocks.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
    next = blocks.back().get();
    left = size;
    reserved += size;
}
