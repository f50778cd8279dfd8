// The entries of a CHashTable one by one: an iterator over its slots that
// passes over the free ones. Dereferencing gives the pair of the key and
// (a reference to) the value, for `for (auto [key, value] : table)`.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <type_traits>

#include "foundation/cstring.h"

template <typename T, bool Const>
class CHashTableIterator {
public:
    using Value = std::conditional_t<Const, const T, T>;
    struct Entry {
        const CString &key;
        Value &value;
    };

    using iterator_concept = std::forward_iterator_tag;
    using iterator_category = std::input_iterator_tag;  // entries are made on the fly
    using value_type = Entry;
    using difference_type = std::ptrdiff_t;
    using reference = Entry;

    CHashTableIterator() = default;
    CHashTableIterator(const CString *keys, Value *values, int32_t slot, int32_t size)
        : keys(keys), values(values), slot(slot), size(size) {
        SkipFree();
    }

    Entry operator*() const { return {keys[slot], values[slot]}; }
    CHashTableIterator &operator++() {
        ++slot;
        SkipFree();
        return *this;
    }
    CHashTableIterator operator++(int) {
        CHashTableIterator before = *this;
        ++*this;
        return before;
    }
    bool operator==(const CHashTableIterator &other) const { return slot == other.slot; }

private:
    void SkipFree() {
        while (slot < size && keys[slot].IsEmpty()) ++slot;
    }

    const CString *keys = nullptr;
    Value *values = nullptr;
    int32_t slot = 0;
    int32_t size = 0;
};
