// CStack: a last-in first-out stack. A read from an empty stack yields the
// stack's `none` value (null for every stack of the system). Besides the top,
// the items can be read from the bottom up (the call stack is shown that
// way), but only Push and Pop change them.
#pragma once

#include <cstdint>
#include <utility>

#include "foundation/vector.h"

template <typename T>
class CStack {
public:
    using const_iterator = typename CVector<T>::const_iterator;

    explicit CStack(T noneValue = T()) : none(noneValue) {}
    CStack(CStack &&) noexcept = default;  // the moved-from stack is empty
    CStack &operator=(CStack &&) noexcept = default;

    void Push(const T &item) { items.Add(item); }

    bool Pop(T &out) {
        if (IsEmpty()) {
            out = none;
            return false;
        }
        out = items.At(items.Count() - 1);
        items.RemoveLast();
        return true;
    }

    // Queries
    T Top() const { return IsEmpty() ? none : items.At(items.Count() - 1); }
    bool IsEmpty() const { return items.Count() == 0; }
    int32_t Count() const { return items.Count(); }
    const T &At(int32_t fromBottom) const { return items.At(fromBottom); }  // 0 is the bottom

    // The items from the bottom up.
    const_iterator begin() const { return items.begin(); }
    const_iterator end() const { return items.end(); }

private:
    CVector<T> items;
    T none;
};
