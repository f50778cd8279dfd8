// CShard: one of N parts of a table-driven batch.
//
// Two ways of splitting exist. Shard K of N (K from 1), for schedulers that
// run array jobs, consults the batch keys at positions K-1, K-1+N, K-1+2N,
// ... of the key list and writes each text output table to a file of its
// own, the output's name followed by ".K-of-N", so that shards running at
// once never share a file; `quorvin-cli merge` puts the shards' files
// together into the outputs one run would have written. Engine output
// tables are written by every shard directly: a database table has no order
// to restore.
//
// A job of a parallel batch (`consult --jobs N`) consults one contiguous
// range of positions instead, and writes its text outputs to NAME.job-K-of-N;
// the run that started the jobs puts them together (cli/parallel_batch.h).
#pragma once

#include <cstdint>
#include <string>

struct CShard {
    int32_t index = 0;  // 0-based
    int32_t count = 1;  // 1: the whole batch
    // A job's range of positions: [first, first + length).
    bool contiguous = false;
    int32_t first = 0;
    int32_t length = 0;

    bool Active() const { return count > 1; }
    // True when the key at `position` of the batch's key list is this part's.
    bool Takes(int32_t position) const {
        if (count <= 1) return true;
        if (contiguous) return position >= first && position - first < length;
        return position % count == index;
    }
    // The file a text output named `name` is written to.
    std::string FileName(const std::string &name) const;
    // Part `index` of `count` (0-based) as "K-of-N", or "job-K-of-N".
    std::string Label() const;
};
