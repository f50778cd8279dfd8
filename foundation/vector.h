// CVector: the growable array under every collection of the system.
//
// A thin class over std::vector that keeps the system's growth policy: a
// vector starts with 5 slots and grows by 8 whenever it is full; from 1024
// slots on it grows by half its size instead, so that filling a vector with
// the million nodes of a large net copies each pointer a few times rather
// than n / 8 times. It holds values - pointers for collections of objects,
// which it never deletes, or CString and float values, which it owns like any
// value. A vector takes its first 5 slots from the heap at its first Add, not
// when it is made: a net has five collections per node, most of them empty,
// and a million empty collections should cost no allocation. Capacity counts
// the slots a vector holds, or the 5 it will take, before it must grow. A
// moved-from vector is empty and holds no slots; its first Add gives it the 5
// slots of a new vector, so it grows as one from there on.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "foundation/fatal_assert.h"

// The growth policy, shared by vectors and queues.
struct CVectorGrowth {
    static constexpr int32_t kInitialCapacity = 5;
    static constexpr int32_t kGrowth = 8;
    static constexpr int32_t kGeometricFrom = 1024;

    // The capacity a full array of `capacity` slots grows to; an array
    // without slots (a moved-from one) gets those of a new vector. A
    // compacted queue may have fewer than 5 slots and grows by 8 as well.
    static int32_t Next(int32_t capacity) {
        if (capacity == 0) return kInitialCapacity;
        const int64_t next = capacity < kGeometricFrom ? capacity + kGrowth : int64_t{capacity} + capacity / 2;
        return static_cast<int32_t>(std::min<int64_t>(next, std::numeric_limits<int32_t>::max()));
    }
};

template <typename T>
class CVector {
public:
    using iterator = T *;
    using const_iterator = const T *;

    // Construction and moves; a vector is never copied by accident.
    CVector() = default;
    CVector(const CVector &) = delete;
    CVector &operator=(const CVector &) = delete;
    CVector(CVector &&other) noexcept : items(std::move(other.items)) { other.items.clear(); }
    CVector &operator=(CVector &&other) noexcept {
        if (this != &other) {
            items = std::move(other.items);
            other.items.clear();
        }
        return *this;
    }

    // Appends an item; items keep their order of addition.
    void Add(const T &item) {
        // A free slot is the common case (every push on the call stack of a
        // consultation); kept this small, it is inlined where it is called.
        if (items.size() < items.capacity()) {
            items.push_back(item);
            return;
        }
        AddGrowing(item);
    }

    // Removes the last item; the vector must not be empty.
    void RemoveLast() {
        QV_ASSERT(Count() > 0, "vector");
        items.pop_back();
    }

    // The slot at index; an index outside 0 .. Count() - 1 stops the program.
    T &At(int32_t index) {
        QV_ASSERT(index >= 0 && index < Count(), "vector");
        return items[static_cast<size_t>(index)];
    }
    const T &At(int32_t index) const {
        QV_ASSERT(index >= 0 && index < Count(), "vector");
        return items[static_cast<size_t>(index)];
    }

    // First index of an item by identity, or -1.
    int32_t IndexOf(const T &item) const {
        auto found = std::find(begin(), end(), item);
        return found == end() ? -1 : static_cast<int32_t>(found - begin());
    }
    int32_t Contains(const T &item) const { return IndexOf(item) + 1; }

    // Sorts the used slots with the runtime's quicksort and a three-way
    // comparison of two slot addresses. Equal items may end in any order.
    bool Sort(int (*compare)(const void *, const void *)) {
        static_assert(std::is_trivially_copyable_v<T>, "qsort moves slots bytewise");
        if (items.empty()) return false;
        std::qsort(items.data(), items.size(), sizeof(T), compare);
        return true;
    }

    // Drops every item and keeps the capacity.
    void Reset() { items.clear(); }

    int32_t Count() const { return static_cast<int32_t>(items.size()); }
    int32_t Capacity() const {
        return items.capacity() == 0 ? kInitialCapacity : static_cast<int32_t>(items.capacity());
    }

    // The items in order, for range-for and the standard algorithms.
    iterator begin() { return items.data(); }
    iterator end() { return items.data() + items.size(); }
    const_iterator begin() const { return items.data(); }
    const_iterator end() const { return items.data() + items.size(); }

    static constexpr int32_t kInitialCapacity = CVectorGrowth::kInitialCapacity;
    static constexpr int32_t kGrowth = CVectorGrowth::kGrowth;
    static constexpr int32_t kGeometricFrom = CVectorGrowth::kGeometricFrom;

private:
    // Adds to a full vector. Counts are 32-bit: a collection that would
    // outgrow them stops the program rather than wrap (it takes a table file
    // of gigabytes); a vector with a free slot is below that count, since
    // growing never takes more slots than it.
    [[gnu::noinline]] void AddGrowing(const T &item) {
        QV_ASSERT(Count() < std::numeric_limits<int32_t>::max(), "vector");
        T copy(item);  // the item may be one of our own slots, which growing moves
        items.reserve(static_cast<size_t>(CVectorGrowth::Next(static_cast<int32_t>(items.capacity()))));
        items.push_back(std::move(copy));
    }

    std::vector<T> items;
};
