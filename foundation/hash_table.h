// CHashTable: an open-addressing table of values keyed by CString.
//
// The table starts with 16 slots and doubles when an insertion finds it more
// than 90% full. Slots are probed by double hashing (see CHashProbe), so the
// probes 0 .. size-1 of a key visit every slot once. An empty key marks a free
// slot; removing an entry moves the entries its gap cut off back along their
// own probe sequences. A failed lookup yields the
// table's `none` value, given at construction. `lastFound` remembers the slot
// of the last successful search through a non-const table, so looking up the
// same name again costs one comparison; a const lookup leaves it alone. A
// moved-from table is empty and has no slots; its first insertion gives it 16.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>
#include <vector>

#include "foundation/cstring.h"
#include "foundation/hash_table_iterator.h"

// The probe sequence of one key in a table of `size` slots (a power of two):
// the key's bytes are folded into a word k, and the probes step from
// size x frac(k x 0.6180339887) by the odd step 2 x size x frac(k x
// 0.87380339887) + 1. The key is read once, not at every probe.
class CHashProbe {
public:
    CHashProbe(const CString &key, int32_t size);
    int32_t Slot(int32_t i) const { return static_cast<int32_t>((start + static_cast<uint64_t>(i) * step) & mask); }

private:
    uint64_t start;
    uint64_t step;
    uint64_t mask;
};

// Slot of probe number i for key in a table of `size` slots.
int32_t HashProbe(const CString &key, int32_t i, int32_t size);

template <typename T>
class CHashTable {
public:
    using iterator = CHashTableIterator<T, false>;
    using const_iterator = CHashTableIterator<T, true>;

    // Construction and moves; a table is never copied by accident.
    explicit CHashTable(T noneValue = T())
        : lastFound(-1), count(0), keys(kInitialSize), values(kInitialSize, noneValue), none(noneValue) {}
    CHashTable(const CHashTable &) = delete;
    CHashTable &operator=(const CHashTable &) = delete;
    CHashTable(CHashTable &&other) noexcept
        : lastFound(std::exchange(other.lastFound, -1)), count(std::exchange(other.count, 0)),
          keys(std::move(other.keys)), values(std::move(other.values)), none(other.none) {
        other.keys.clear();
        other.values.clear();
    }
    CHashTable &operator=(CHashTable &&other) noexcept {
        if (this != &other) {
            lastFound = std::exchange(other.lastFound, -1);
            count = std::exchange(other.count, 0);
            keys = std::move(other.keys);
            values = std::move(other.values);
            none = other.none;
            other.keys.clear();
            other.values.clear();
        }
        return *this;
    }

    // Lookups. The value stored under key, or none; a search stops at the
    // first free slot.
    T Find(const CString &key) {
        int32_t slot = Search(key, true);
        return slot < 0 ? none : values[slot];
    }
    T Find(const CString &key) const {
        int32_t slot = Locate(key, true);
        return slot < 0 ? none : values[slot];
    }

    // The slot index of key, or -1. Tries every probe before giving up.
    int32_t FindIndex(const CString &key) { return Search(key, false); }
    int32_t FindIndex(const CString &key) const { return Locate(key, false); }

    // Stores a copy of key with value; returns the address of the value slot,
    // or null when the key is empty or already present.
    T *Insert(const CString &key, const T &value) {
        if (key.IsEmpty() || Search(key, true) >= 0) return nullptr;
        if (Size() == 0 || static_cast<double>(count) / Size() > kMaxLoad) Grow();
        int32_t slot = FreeSlot(key);
        if (slot < 0) return nullptr;
        keys[slot] = key;
        values[slot] = value;
        ++count;
        lastFound = slot;
        return &values[slot];
    }

    // Doubles the table and re-inserts the entries in their old slot order.
    // Returns 0, or -1 (table unchanged) when memory is short.
    int32_t Grow() {
        const int64_t newSize = Size() == 0 ? kInitialSize : 2 * int64_t{Size()};
        std::vector<CString> oldKeys;
        std::vector<T> oldValues;
        try {
            std::vector<CString> newKeys(static_cast<size_t>(newSize));
            std::vector<T> newValues(static_cast<size_t>(newSize), none);
            oldKeys.swap(keys);
            oldValues.swap(values);
            keys.swap(newKeys);
            values.swap(newValues);
        } catch (...) {  // memory is short: the table stays as it was
            return -1;
        }
        lastFound = -1;
        count = 0;
        for (size_t s = 0; s < oldKeys.size(); ++s)
            if (!oldKeys[s].IsEmpty()) Insert(oldKeys[s], oldValues[s]);
        return 0;
    }

    // Takes key and its value out of the table (the value is not deleted);
    // false when the key is absent. Searches stop at the first free slot, so
    // every entry that the new gap cuts off from its home is moved back
    // along its own probe sequence; each move brings an entry closer to its
    // home, so the settling ends.
    bool Remove(const CString &key) {
        const int32_t slot = Locate(key, false);
        if (slot < 0) return false;
        Vacate(slot);
        --count;
        lastFound = -1;  // the settling below must see where entries really are
        for (bool moved = true; moved;) {
            moved = false;
            for (int32_t s = 0; s < Size(); ++s)
                if (!keys[s].IsEmpty() && Locate(keys[s], true) != s) moved = Resettle(s) || moved;
        }
        return true;
    }

    // Empties every slot; the values are not deleted.
    void Clear() {
        for (int32_t s = 0; s < Size(); ++s) {
            keys[s].Clear();
            values[s] = none;
        }
        count = 0;
        lastFound = -1;
    }

    // For tables that own their values: deletes every value, then clears.
    void ClearAndDelete() {
        static_assert(std::is_pointer_v<T>, "only tables of owned objects delete their values");
        for (int32_t s = 0; s < Size(); ++s)
            if (!keys[s].IsEmpty() && values[s] != none) delete values[s];
        Clear();
    }

    // The entries (key and value) in slot order, for owners that visit them all.
    iterator begin() { return iterator(keys.data(), values.data(), 0, Size()); }
    iterator end() { return iterator(keys.data(), values.data(), Size(), Size()); }
    const_iterator begin() const { return const_iterator(keys.data(), values.data(), 0, Size()); }
    const_iterator end() const { return const_iterator(keys.data(), values.data(), Size(), Size()); }

    // The slots one by one; a free slot has an empty key.
    int32_t Size() const { return static_cast<int32_t>(keys.size()); }
    int32_t Count() const { return count; }
    const CString &KeyAt(int32_t slot) const { return keys[slot]; }
    T &ValueAt(int32_t slot) { return values[slot]; }
    const T &ValueAt(int32_t slot) const { return values[slot]; }
    int32_t LastFound() const { return lastFound; }
    const T &None() const { return none; }

    static constexpr int32_t kInitialSize = 16;  // smallest power of two not below 10
    static constexpr double kMaxLoad = 0.9;

private:
    // Slot of key or -1, remembered in lastFound when found.
    int32_t Search(const CString &key, bool stopAtFree) {
        int32_t slot = Locate(key, stopAtFree);
        if (slot >= 0) lastFound = slot;
        return slot;
    }

    // Slot of key or -1. An insertion always fills the first free slot of its
    // probe sequence and a removal settles the entries behind the gap, so a
    // search may stop at a free slot; FindIndex nevertheless goes through
    // every probe.
    int32_t Locate(const CString &key, bool stopAtFree) const {
        if (key.IsEmpty() || Size() == 0) return -1;
        if (lastFound >= 0 && keys[lastFound].Equals(key)) return lastFound;
        const CHashProbe probe(key, Size());
        for (int32_t i = 0; i < Size(); ++i) {
            const int32_t slot = probe.Slot(i);
            if (stopAtFree && keys[slot].IsEmpty()) return -1;
            if (keys[slot].Equals(key)) return slot;
        }
        return -1;
    }

    void Vacate(int32_t slot) {
        keys[slot].Clear();
        values[slot] = none;
    }

    // Moves the entry in slot to the first free slot of its probe sequence
    // when that comes before slot; true when it moved.
    bool Resettle(int32_t slot) {
        const CHashProbe probe(keys[slot], Size());
        for (int32_t i = 0; i < Size(); ++i) {
            const int32_t candidate = probe.Slot(i);
            if (candidate == slot) return false;
            if (!keys[candidate].IsEmpty()) continue;
            keys[candidate] = std::move(keys[slot]);
            values[candidate] = std::move(values[slot]);
            Vacate(slot);
            return true;
        }
        return false;
    }

    // The first free slot of key's probe sequence, growing a full table; -1
    // when memory is short.
    int32_t FreeSlot(const CString &key) {
        for (;;) {
            const CHashProbe probe(key, Size());
            for (int32_t i = 0; i < Size(); ++i)
                if (keys[probe.Slot(i)].IsEmpty()) return probe.Slot(i);
            if (Grow() < 0) return -1;
        }
    }

    int32_t lastFound;
    int32_t count;
    std::vector<CString> keys;
    std::vector<T> values;
    T none;
};
