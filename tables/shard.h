// CShard: one of N parts of a table-driven batch, for schedulers that run
// array jobs. Shard K of N (K from 1) consults the batch keys at positions
// K-1, K-1+N, K-1+2N, ... of the key list, and writes each text output
// table to a file of its own, the output's name followed by ".K-of-N", so
// that shards running at once never share a file. `quorvin-cli merge` puts
// the shards' files together into the outputs one run would have written.
// Engine output tables are written by every shard directly: a database
// table has no order to restore.
#pragma once

#include <cstdint>
#include <string>

struct CShard {
    int32_t index = 0;  // 0-based
    int32_t count = 1;  // 1: the whole batch

    bool Active() const { return count > 1; }
    // True when the key at `position` of the batch's key list is this shard's.
    bool Takes(int32_t position) const { return count <= 1 || position % count == index; }
    // The file a text output named `name` is written to.
    std::string FileName(const std::string &name) const;
    // Shard `index` of `count` (0-based) as "K-of-N".
    std::string Label() const;
};
