# Three shards of a batch, each a run of its own, then merge: the outputs
# equal those of one run over the whole batch, which runs in a folder of
# its own beside them.
files=(tests/data/e2e/merge-shards/kb.qvb tests/data/e2e/merge-shards/cases.txt tests/data/e2e/merge-shards/out.txt)
args=(merge kb.qvb --shards 3)
prepare() {
    mkdir one && cp kb.qvb cases.txt out.txt one/ || return 1
    (cd one && "$cli" consult kb.qvb >/dev/null 2>&1)
    # Keys without a record make a run fail (exit 2), shards and one run alike.
    for k in 1 2 3; do "$cli" consult kb.qvb --shard "$k/3" >"shard-$k.stdout" 2>&1; done
    return 0
}
collect() {
    for f in out.txt goals.txt; do cmp "$f" "one/$f" >/dev/null && echo "$f: as one run" || echo "$f: differs"; done >compared
    cat shard-1.stdout >shard-1.log
}
