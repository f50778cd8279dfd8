// CVector: the growable array under every collection of the system.
//
// An array of its own (a pointer and two 32-bit counts, 16 bytes where a
// standard vector takes 24) that keeps the system's growth policy: a
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
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

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
    ~CVector() { Release(); }
    CVector(const CVector &) = delete;
    CVector &operator=(const CVector &) = delete;
    CVector(CVector &&other) noexcept
        : items(std::exchange(other.items, nullptr)), count(std::exchange(other.count, 0)),
          capacity(std::exchange(other.capacity, 0)) {}
    CVector &operator=(CVector &&other) noexcept {
        if (this != &other) {
            Release();
            items = std::exchange(other.items, nullptr);
            count = std::exchange(other.count, 0);
            capacity = std::exchange(other.capacity, 0);
        }
        return *this;
    }

    // Appends an item; items keep their order of addition.
    void Add(const T &item) {
        // A free slot is the common case (every push on the call stack of a
        // consultation); kept this small, it is inlined where it is called.
        if (count < capacity) {
            ::new (static_cast<void *>(items + count)) T(item);
            ++count;
            return;
        }
        AddGrowing(item);
    }

    // Removes the last item; the vector must not be empty.
    void RemoveLast() {
        QV_ASSERT(Count() > 0, "vector");
        --count;
        std::destroy_at(items + count);
    }

    // The slot at index; an index outside 0 .. Count() - 1 stops the program.
    T &At(int32_t index) {
        QV_ASSERT(index >= 0 && index < Count(), "vector");
        return items[index];
    }
    const T &At(int32_t index) const {
        QV_ASSERT(index >= 0 && index < Count(), "vector");
        return items[index];
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
        if (count == 0) return false;
        std::qsort(items, static_cast<size_t>(count), sizeof(T), compare);
        return true;
    }

    // Drops every item and keeps the capacity.
    void Reset() {
        std::destroy(items, items + count);
        count = 0;
    }

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity == 0 ? kInitialCapacity : capacity; }

    // The items in order, for range-for and the standard algorithms.
    iterator begin() { return items; }
    iterator end() { return items + count; }
    const_iterator begin() const { return items; }
    const_iterator end() const { return items + count; }

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
        const int32_t grownCapacity = CVectorGrowth::Next(capacity);
        std::allocator<T> allocator;
        T *grown = allocator.allocate(static_cast<size_t>(grownCapacity));
        // The item may be one of our own slots: it is copied before they move.
        try {
            ::new (static_cast<void *>(grown + count)) T(item);
        } catch (...) {
            allocator.deallocate(grown, static_cast<size_t>(grownCapacity));
            throw;
        }
        static_assert(std::is_nothrow_move_constructible_v<T>, "slots move without failing");
        std::uninitialized_move(items, items + count, grown);
        const int32_t added = count + 1;
        Release();
        items = grown;
        count = added;
        capacity = grownCapacity;
    }

    // Drops the items and gives back the slots.
    void Release() {
        if (items == nullptr) return;
        std::destroy(items, items + count);
        std::allocator<T>().deallocate(items, static_cast<size_t>(capacity));
        items = nullptr;
        count = 0;
        capacity = 0;
    }

    // Sixteen bytes, against the 24 of a standard vector: a net keeps five
    // vectors in every node.
    T *items = nullptr;
    int32_t count = 0;
    int32_t capacity = 0;
};
