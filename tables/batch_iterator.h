// CBatchIterator: hands out the keys of an input table, one per consultation
// of a batch run.
//
// Opening collects the keys from the table named by the parameters; each
// `Next` writes the next key into the parameters that select the input record
// and the output row. The iterator stays active while keys are left.
#pragma once

#include <cstdint>
#include <string>

#include "foundation/vector.h"

class CParameters;

class CBatchIterator {
public:
    CBatchIterator() = default;
    virtual ~CBatchIterator() = default;
    CBatchIterator(const CBatchIterator &) = delete;
    CBatchIterator &operator=(const CBatchIterator &) = delete;

    // Collects the keys when the parameters switch the iterator on; sets
    // `active` when there is at least one. 0, or 2 when the source fails.
    virtual int32_t Open(CParameters *parameters) = 0;
    // Hands out the next key into the parameters; clears `active` after the
    // last. 0.
    virtual int32_t Next(CParameters *parameters) = 0;
    // Drops the keys and clears `active`.
    virtual void Close() = 0;
    // The kind of input table whose rows the keys select ("idbtxtreltab",
    // ...); "" when the keys select no particular table.
    virtual const char *SourceKind() const { return ""; }
    // Why the last Open or Next failed, for the user; empty when the
    // source does not say.
    virtual std::string Failure() const { return std::string(); }

    // How far the run is: the keys handed out so far and the keys collected
    // by the last Open (both stay after the last key). 0 and 0 for a source
    // that cannot tell.
    virtual int32_t KeysHandedOut() const { return 0; }
    virtual int32_t KeyCount() const { return 0; }

    bool active = false;  // keys are left to hand out
};

using CBatchIteratorArray = CVector<CBatchIterator *>;
