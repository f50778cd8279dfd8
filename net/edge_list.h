// CEdgeList: the rules, or the links, that enter or leave one node, in the
// order they were made.
//
// A list does not grow slot by slot on the heap: the net enters its edges in
// the lists in one pass once the net is complete (net/inference_net.h), and
// each list then gets exactly the slots it needs from the net's arena. A
// large net has a few hundred thousand of these lists, most with one to
// three edges, where a growing array took five slots and a heap block each.
// An edge added after that pass gets its lists again at the next pass: the
// list is copied to new slots of the exact new size (the old ones stay
// unused in the arena until the net goes), which happens only when nets are
// built by hand, a few edges at a time.
#pragma once

#include <algorithm>
#include <cstdint>

#include "foundation/fatal_assert.h"
#include "net/arena.h"

template <typename Edge>
class CEdgeList {
public:
    int32_t Count() const { return count; }

    // The edge at index; an index outside 0 .. Count() - 1 stops the program.
    Edge *At(int32_t index) const {
        QV_ASSERT(index >= 0 && index < count, "edge list");
        return items[index];
    }

    Edge *const *begin() const { return items; }
    Edge *const *end() const { return items + count; }

    // Entering edges, in three steps over all of them: `Expect` once for
    // each new edge of this list, `MakeRoom` once, then `Enter` once for
    // each new edge in the order they were made.
    void Expect() { ++room; }
    void MakeRoom(CArena &arena) {
        if (room == count) return;
        auto **grown = static_cast<Edge **>(arena.Allocate(sizeof(Edge *) * static_cast<size_t>(room), alignof(Edge *)));
        std::copy(items, items + count, grown);
        items = grown;
    }
    void Enter(Edge *edge) {
        QV_ASSERT(count < room, "edge list");
        items[count++] = edge;
    }

private:
    Edge **items = nullptr;
    int32_t count = 0;
    // The slots made in the arena, or being expected during a pass; equal
    // to `count` between the passes.
    int32_t room = 0;
};
