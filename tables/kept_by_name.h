// CKeptByName: answers worked out for a name, kept per name string.
//
// A consultation asks about the same nodes by their names again and again,
// and a node's name is one string for as long as the node exists. An
// answer is kept under the address of the name's text together with the
// string itself (so that the address cannot be reused for another name
// while the entry lives) and the version of whatever it was worked out
// from; a later question with the same string at the same version gets the
// kept answer without looking the name up. Names that do not last (a new
// string per question) only cost an entry each, and the entries are dropped
// once they outnumber a bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "foundation/cstring.h"

template <typename T>
class CKeptByName {
public:
    // The answer for `name` at `version`: the kept one, or `compute()`,
    // which is then kept. `bound` is the number of entries beyond which all
    // are dropped.
    template <typename Compute>
    T Answer(const CString &name, uint64_t version, size_t bound, Compute compute) {
        if (entries.size() > bound) entries.clear();
        Entry &entry = entries[name.Text()];
        if (entry.name.Text() != name.Text() || entry.version != version || !entry.known)
            entry = Entry{name, version, compute(), true};
        return entry.answer;
    }
    void Clear() { entries.clear(); }

private:
    struct Entry {
        CString name;
        uint64_t version = 0;
        T answer{};
        bool known = false;
    };
    std::unordered_map<const char *, Entry> entries;
};
