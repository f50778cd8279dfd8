// CStack: a last-in first-out stack on a CVector. A read from an empty stack
// yields the stack's `none` value (null for every stack of the system).
#pragma once

#include "foundation/vector.h"

template <typename T>
class CStack : public CVector<T> {
public:
    explicit CStack(T noneValue = T()) : none(noneValue) {}

    void Push(const T &item) { this->Add(item); }

    bool Pop(T &out) {
        if (this->count == 0) {
            out = none;
            return false;
        }
        out = this->items[--this->count];
        return true;
    }

    T Top() const { return this->count == 0 ? none : this->items[this->count - 1]; }
    bool IsEmpty() const { return this->count == 0; }

private:
    T none;
};
