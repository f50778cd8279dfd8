// CVector: the growable array under every collection of the system.
//
// A vector starts with 5 slots and grows by 8 whenever it is full; from 1024
// slots on it grows by half its size instead, so that filling a vector with
// the million nodes of a large net copies each pointer a few times rather
// than n / 8 times. It holds
// values - pointers for collections of objects, which it never deletes, or
// CString and float values, which it owns like any value. Fresh slots are
// value-initialised: null pointers, empty strings, zero reals.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "foundation/fatal_assert.h"

template <typename T>
class CVector {
public:
    CVector() : capacity(kInitialCapacity), count(0), items(new T[kInitialCapacity]()) {}
    CVector(const CVector &) = delete;
    CVector &operator=(const CVector &) = delete;
    virtual ~CVector() { delete[] items; }

    // Appends an item; items keep their order of addition.
    void Add(const T &item) {
        // Counts are 32-bit: a collection that would outgrow them stops the
        // program rather than wrap (it takes a table file of gigabytes).
        QV_ASSERT(count < std::numeric_limits<int32_t>::max(), "vector");
        if (count >= capacity) Grow(NextCapacity());
        items[count] = item;
        ++count;
    }

    // The slot at index; callers keep 0 <= index < count.
    T &At(int32_t index) { return items[index]; }
    const T &At(int32_t index) const { return items[index]; }

    // First index of an item by identity, or -1.
    int32_t IndexOf(const T &item) const {
        for (int32_t i = 0; i < count; ++i)
            if (items[i] == item) return i;
        return -1;
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

    // Drops every item and starts over with fresh slots of the same capacity.
    void Reset() {
        delete[] items;
        items = new T[capacity]();
        count = 0;
    }

    int32_t Count() const { return count; }
    int32_t Capacity() const { return capacity; }

    static constexpr int32_t kInitialCapacity = 5;
    static constexpr int32_t kGrowth = 8;
    static constexpr int32_t kGeometricFrom = 1024;

protected:
    int32_t NextCapacity() const {
        const int64_t next = capacity < kGeometricFrom ? capacity + kGrowth : int64_t{capacity} + capacity / 2;
        return static_cast<int32_t>(std::min<int64_t>(next, std::numeric_limits<int32_t>::max()));
    }

    // Moves the items into a fresh array of newCapacity slots.
    void Grow(int32_t newCapacity) {
        T *fresh = new T[newCapacity]();
        for (int32_t i = 0; i < count; ++i) fresh[i] = items[i];
        delete[] items;
        items = fresh;
        capacity = newCapacity;
    }

    int32_t capacity;
    int32_t count;
    T *items;
};
