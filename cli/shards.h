// Shards of a table-driven batch, for schedulers that run array jobs:
//
//   quorvin-cli consult KB.qvb --shard K/N     (K = 1..N, one job each)
//   quorvin-cli merge KB.qvb --shards N        (once all have ended)
//
// Shard K consults the batch keys at positions K-1, K-1+N, ... and writes
// each text output table to its own file, NAME.K-of-N (tables/shard.h).
// Merging reads the batch's keys again and puts the shards' rows into each
// relational output in the order of the keys, appended to the output as
// one run would have appended them; a name-value output becomes the file of
// the shard that consulted the last key. The shard files are left in place.
#pragma once

#include <optional>
#include <string>

#include "tables/shard.h"

class CParameters;

// "K/N" with 1 <= K <= N; nothing when the text is not such a pair.
std::optional<CShard> ParseShard(const std::string &text);

// Empties the shard's files of the knowledge base's text outputs, so that a
// shard run that is repeated starts them afresh; false, with the reason,
// when one cannot be written.
bool StartShardOutputs(CParameters &parameters, const std::string &directory, const CShard &shard,
                       std::string &reason);

// The merge command; its exit status: 0 merged, 1 the build failed, 2 a
// shard's file is missing or does not fit the keys, 64 a wrong count.
int MergeShards(const std::string &knowledgeBase, const std::string &countText);
