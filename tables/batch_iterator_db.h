// CBatchIteratorDB: the common part of the batch iterators over input
// tables: the collected keys and the handing out of one key per pass.
//
// `Next` writes the next key into the three parameters that select the
// input record and the output row ("dbrecord", "idbrecord", "odbrecord"),
// replacing what they held; after the last key the iterator closes. An empty
// key is handed out like any other. The parameters keep the last key after
// the run.
#pragma once

#include <cstdint>

#include "foundation/string_collections.h"
#include "tables/batch_iterator.h"
#include "tables/table_environment.h"

class CBatchIteratorDB : public CBatchIterator {
public:
    explicit CBatchIteratorDB(CTableEnvironment &tableEnvironment);
    ~CBatchIteratorDB() override;

    // 0; 2 (and nothing written) when no key is left.
    int32_t Next(CParameters *parameters) override;
    void Close() override;
    int32_t KeysHandedOut() const override { return position; }
    int32_t KeyCount() const override { return keyCount; }

    CStringVector *keys = nullptr;  // owned; null while closed
    int32_t position = 0;           // index of the next key
    CString keyColumnName;

protected:
    // Starts an empty key list.
    void StartKeys();
    // Keeps the keys of the environment's shard; sets `active` when there
    // are keys to hand out, else closes; 0.
    int32_t FinishKeys();

    CTableEnvironment &environment;

private:
    int32_t keyCount = 0;  // stays after the last key, when `keys` is gone
};
