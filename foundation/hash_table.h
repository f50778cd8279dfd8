// CHashTable: an open-addressing table of values keyed by CString.
//
// The table starts with 16 slots and doubles when an insertion finds it more
// than 90% full. Slots are probed by double hashing (see HashProbe), so the
// probes 0 .. size-1 of a key visit every slot once. An empty key marks a free
// slot; there is no removal of a single entry. A failed lookup yields the
// table's `none` value, given at construction. `lastFound` remembers the slot
// of the last successful search, so looking up the same name again costs one
// comparison.
#pragma once

#include <cstdint>
#include <type_traits>

#include "foundation/cstring.h"

// Slot of probe number i for a key in a table of `size` slots (a power of
// two): the key's bytes are folded into a word k, and the probes step from
// size x frac(k x 0.6180339887) by the odd step 2 x size x frac(k x
// 0.87380339887) + 1.
int32_t HashProbe(const CString &key, int32_t i, int32_t size);

template <typename T>
class CHashTable {
public:
    explicit CHashTable(T noneValue = T())
        : probe(0), lastFound(-1), size(kInitialSize), count(0),
          keys(new CString[kInitialSize]), values(NewValues(kInitialSize, noneValue)), none(noneValue) {}
    CHashTable(const CHashTable &) = delete;
    CHashTable &operator=(const CHashTable &) = delete;
    ~CHashTable() {
        delete[] keys;
        delete[] values;
    }

    // The value stored under key, or none. Stops at the first free slot.
    T Find(const CString &key) {
        int32_t slot = Search(key, true);
        return slot < 0 ? none : values[slot];
    }

    // The slot index of key, or -1. Tries every probe before giving up.
    int32_t FindIndex(const CString &key) { return Search(key, false); }

    // Stores a copy of key with value; returns the address of the value slot,
    // or null when the key is empty or already present.
    T *Insert(const CString &key, const T &value) {
        if (key.IsEmpty() || Search(key, true) >= 0) return nullptr;
        if (static_cast<double>(count) / size > kMaxLoad) Grow();
        for (int32_t i = 0;; ++i) {
            if (i >= size) {
                if (Grow() < 0) return nullptr;
            }
            probe = HashProbe(key, i, size);
            if (keys[probe].IsEmpty()) break;
        }
        keys[probe] = key;
        values[probe] = value;
        ++count;
        lastFound = probe;
        return &values[probe];
    }

    // Doubles the table and re-inserts the entries in their old slot order.
    // Returns 0, or -1 (table unchanged) when memory is short.
    int32_t Grow() {
        int32_t oldSize = size;
        CString *oldKeys = keys;
        T *oldValues = values;
        CString *newKeys = nullptr;
        T *newValues = nullptr;
        try {
            newKeys = new CString[2 * static_cast<int64_t>(oldSize)];
            newValues = NewValues(2 * oldSize, none);
        } catch (...) {
            delete[] newKeys;
            return -1;
        }
        keys = newKeys;
        values = newValues;
        lastFound = -1;
        count = 0;
        size = 2 * oldSize;
        for (int32_t s = 0; s < oldSize; ++s)
            if (!oldKeys[s].IsEmpty()) Insert(oldKeys[s], oldValues[s]);
        delete[] oldKeys;
        delete[] oldValues;
        return 0;
    }

    // Empties every slot; the values are not deleted.
    void Clear() {
        for (int32_t s = 0; s < size; ++s) {
            keys[s].Clear();
            values[s] = none;
        }
        count = 0;
        lastFound = -1;
    }

    // For tables that own their values: deletes every value, then clears.
    void ClearAndDelete() {
        static_assert(std::is_pointer_v<T>, "only tables of owned objects delete their values");
        for (int32_t s = 0; s < size; ++s) {
            if (keys[s].IsEmpty()) continue;
            --count;
            keys[s].Clear();
            if (values[s] != none) delete values[s];
            values[s] = none;
        }
        Clear();
    }

    // Iteration over the slots, for owners that visit every entry.
    int32_t Size() const { return size; }
    int32_t Count() const { return count; }
    const CString &KeyAt(int32_t slot) const { return keys[slot]; }
    T &ValueAt(int32_t slot) { return values[slot]; }
    int32_t LastFound() const { return lastFound; }
    const T &None() const { return none; }

    static constexpr int32_t kInitialSize = 16;  // smallest power of two not below 10
    static constexpr double kMaxLoad = 0.9;

private:
    static T *NewValues(int64_t n, const T &fill) {
        T *array = new T[n];
        for (int64_t s = 0; s < n; ++s) array[s] = fill;
        return array;
    }

    // Slot of key or -1. An insertion always fills the first free slot of its
    // probe sequence and nothing is ever removed, so a search may stop at a
    // free slot; FindIndex nevertheless goes through every probe.
    int32_t Search(const CString &key, bool stopAtFree) {
        if (key.IsEmpty()) return -1;
        if (lastFound >= 0 && keys[lastFound].Equals(key)) return lastFound;
        for (int32_t i = 0; i < size; ++i) {
            probe = HashProbe(key, i, size);
            if (stopAtFree && keys[probe].IsEmpty()) return -1;
            if (keys[probe].Equals(key)) {
                lastFound = probe;
                return probe;
            }
        }
        return -1;
    }

    int32_t probe;
    int32_t lastFound;
    int32_t size;
    int32_t count;
    CString *keys;
    T *values;
    T none;
};
