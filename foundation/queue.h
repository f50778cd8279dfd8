// CQueue: a first-in first-out queue.
//
// Items are taken from `head` and put at `tail` of an array that grows like a
// CVector's (5 slots, then 13, 21, ...). A queue that runs empty restarts at
// the front of its array; a queue whose tail reaches the end of the array
// while items were taken from the front moves the waiting items to the front
// instead of growing (see Compact). A read from an empty queue yields `none`.
// Only the waiting items are visible: there is no access by index.
#pragma once

#include <cstdint>
#include <iterator>
#include <utility>
#include <vector>

#include "foundation/vector.h"

template <typename T>
class CQueue {
public:
    using const_iterator = const T *;

    explicit CQueue(T noneValue = T()) : head(0), none(noneValue) { items.reserve(CVectorGrowth::kInitialCapacity); }
    CQueue(const CQueue &) = delete;
    CQueue &operator=(const CQueue &) = delete;
    // A moved-from queue is empty and has no slots; it grows as a new one.
    CQueue(CQueue &&other) noexcept : items(std::move(other.items)), head(std::exchange(other.head, 0)), none(other.none) {
        other.items.clear();
    }
    CQueue &operator=(CQueue &&other) noexcept {
        if (this != &other) {
            items = std::move(other.items);
            other.items.clear();
            head = std::exchange(other.head, 0);
            none = other.none;
        }
        return *this;
    }

    void Put(const T &item) {
        if (Tail() >= Capacity() && head > 0) Compact();
        if (Tail() >= Capacity()) items.reserve(static_cast<size_t>(CVectorGrowth::Next(Capacity())));
        items.push_back(item);
    }

    bool Take(T &out) {
        if (IsEmpty()) {
            out = none;
            return false;
        }
        out = items[static_cast<size_t>(head++)];
        if (IsEmpty()) Restart();
        return true;
    }

    // Queries
    bool IsEmpty() const { return head == Tail(); }
    int32_t Count() const { return Tail() - head; }  // waiting items
    int32_t Head() const { return head; }
    int32_t Tail() const { return static_cast<int32_t>(items.size()); }
    int32_t Capacity() const { return static_cast<int32_t>(items.capacity()); }

    // The waiting items, the next to be taken first.
    const_iterator begin() const { return items.data() + head; }
    const_iterator end() const { return items.data() + items.size(); }

private:
    void Restart() {
        items.clear();
        head = 0;
    }

    // Moves the waiting items to the front of a fresh array with two free
    // slots after the old end. A queue of a thousand items or more gets room
    // for half as many again: with two slots only, a long queue that is taken
    // from and put to in turn would compact at every second Put, copying
    // every waiting item each time.
    void Compact() {
        const int32_t waiting = Count();
        int32_t newCapacity = Capacity() - head + 2;
        if (waiting >= CVectorGrowth::kGeometricFrom) newCapacity += waiting / 2;
        std::vector<T> fresh;
        fresh.reserve(static_cast<size_t>(newCapacity));
        fresh.insert(fresh.end(), std::make_move_iterator(items.begin() + head), std::make_move_iterator(items.end()));
        items.swap(fresh);
        head = 0;
    }

    std::vector<T> items;  // taken items before head, waiting items from head on
    int32_t head;
    T none;
};
