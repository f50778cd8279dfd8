// CQueue: a first-in first-out queue on a CVector.
//
// Items are taken from `head` and put at `tail`. A queue that runs empty
// restarts at the front of its array; a queue whose tail reaches the end of
// the array while items were taken from the front moves the waiting items to
// the front instead of growing (see Compact). A read from an empty queue yields `none`.
#pragma once

#include "foundation/vector.h"

template <typename T>
class CQueue : public CVector<T> {
public:
    explicit CQueue(T noneValue = T()) : head(0), tail(0), none(noneValue) {}

    void Put(const T &item) {
        if (tail >= this->capacity && head > 0) Compact();
        this->Add(item);
        ++tail;
    }

    bool Take(T &out) {
        if (head == tail) {
            out = none;
            return false;
        }
        out = this->items[head++];
        if (head == tail) head = tail = this->count = 0;
        return true;
    }

    bool IsEmpty() const { return head == tail; }
    int32_t Head() const { return head; }
    int32_t Tail() const { return tail; }

private:
    // Moves the waiting items to the front of a fresh array with two free
    // slots after the old end. A queue of a thousand items or more gets room
    // for half as many again: with two slots only, a long queue that is taken
    // from and put to in turn would compact at every second Put, copying
    // every waiting item each time.
    void Compact() {
        int32_t waiting = tail - head;
        int32_t newCapacity = this->capacity - head + 2;
        if (waiting >= this->kGeometricFrom) newCapacity += waiting / 2;
        T *fresh = new T[newCapacity]();
        for (int32_t i = 0; i < waiting; ++i) fresh[i] = this->items[head + i];
        delete[] this->items;
        this->items = fresh;
        this->capacity = newCapacity;
        head = 0;
        tail = this->count = waiting;
    }

    int32_t head;
    int32_t tail;
    T none;
};
