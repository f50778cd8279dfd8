// CEdgeList: the rules, or the links, that enter or leave one node, in the
// order they were made; a view of slots that the node holds (net/node.h).
#pragma once

#include <cstdint>

#include "foundation/fatal_assert.h"

template <typename Edge>
class CEdgeList {
public:
    CEdgeList(Edge *const *edgeSlots, int32_t edgeCount) : items(edgeSlots), count(edgeCount) {}

    int32_t Count() const { return count; }

    // The edge at index; an index outside 0 .. Count() - 1 stops the program.
    Edge *At(int32_t index) const {
        QV_ASSERT(index >= 0 && index < count, "edge list");
        return items[index];
    }

    Edge *const *begin() const { return items; }
    Edge *const *end() const { return items + count; }

private:
    Edge *const *items;
    int32_t count;
};
