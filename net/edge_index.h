// CEdgeIndex: which source-target pairs already have an edge (a rule or a
// link), so that the net refuses a second one in constant time.
//
// The index does not hold the pairs themselves: each slot keeps a 32-bit hash
// of a pair and the edge's position in the net's array of such edges, where
// the pair is read back when the hashes agree. Eight bytes a slot, no
// allocation per edge, open addressing with linear probing at most three
// quarters full. Edges are never removed from a net, so neither are they from
// here; the whole index may be released once the net is complete, and is made
// again from the net's edges if more are added.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "foundation/fatal_assert.h"
#include "foundation/vector.h"

class CNode;

template <typename Edge>
class CEdgeIndex {
public:
    using Edges = CVector<Edge *>;

    // True when `edges`, the array this index covers, has an edge from
    // `source` to `target`. The index must cover all of them (Cover).
    bool Contains(const Edges &edges, const CNode *source, const CNode *target) const {
        QV_ASSERT(count == static_cast<size_t>(edges.Count()), "edge index");
        if (entries.empty()) return false;
        const uint32_t hash = Hash(source, target);
        for (size_t s = Home(hash);; s = (s + 1) & (entries.size() - 1)) {
            const Slot &slot = entries[s];
            if (slot.position < 0) return false;
            if (slot.hash != hash) continue;
            const Edge *edge = edges.At(slot.position);
            if (edge->source == source && edge->target == target) return true;
        }
    }

    // Records the edge at `position` of `edges`, which the caller has just
    // added and made sure is no duplicate.
    void Add(const Edges &edges, int32_t position) {
        if (4 * (count + 1) > 3 * entries.size()) Grow();
        const Edge *edge = edges.At(position);
        Place(Slot{Hash(edge->source, edge->target), position});
        ++count;
    }

    // Places the edges of `edges` the index lacks: none while it is kept up
    // to date, all of them after Release.
    void Cover(const Edges &edges) {
        for (auto position = static_cast<int32_t>(count); position < edges.Count(); ++position) Add(edges, position);
    }

    // Frees the slots; the index covers no edge until the next Cover.
    void Release() {
        entries = std::vector<Slot>();
        bits = 0;
        count = 0;
    }

private:
    struct Slot {
        uint32_t hash = 0;
        int32_t position = -1;  // -1: free
    };

    static uint32_t Hash(const CNode *source, const CNode *target) {
        uint64_t word = reinterpret_cast<uintptr_t>(source) * 0x9E3779B97F4A7C15ULL;
        word ^= reinterpret_cast<uintptr_t>(target) + 0x632BE59BD9B4E019ULL + (word << 6) + (word >> 2);
        word ^= word >> 31;
        word *= 0xBF58476D1CE4E5B9ULL;
        return static_cast<uint32_t>(word >> 32);
    }

    // The first slot probed for a hash: Fibonacci hashing into the table's
    // power-of-two size.
    size_t Home(uint32_t hash) const { return (hash * 0x9E3779B9u) >> (32 - bits); }

    void Place(const Slot &entry) {
        size_t s = Home(entry.hash);
        while (entries[s].position >= 0) s = (s + 1) & (entries.size() - 1);
        entries[s] = entry;
    }

    // Doubles the table (16 slots the first time) and places every entry again.
    void Grow() {
        const std::vector<Slot> old = std::exchange(entries, {});
        bits = old.empty() ? kInitialBits : bits + 1;
        entries.assign(size_t{1} << bits, Slot{});
        for (const Slot &entry : old)
            if (entry.position >= 0) Place(entry);
    }

    static constexpr uint32_t kInitialBits = 4;
    std::vector<Slot> entries;  // the slots; not named `slots`, which Qt takes for a keyword
    uint32_t bits = 0;
    size_t count = 0;
};
