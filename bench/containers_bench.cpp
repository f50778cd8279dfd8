// The containers under load: filling vectors and hash tables of node names.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "foundation/hash_table.h"
#include "foundation/vector.h"

namespace {

void BM_VectorAdd(benchmark::State &state) {
    for (auto _ : state) {
        CVector<void *> v;
        for (int64_t i = 0; i < state.range(0); ++i) v.Add(nullptr);
        benchmark::DoNotOptimize(v.Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_VectorAdd)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// Names that differ early ("a17_x") and names that share their first twelve
// bytes ("has_symptom_17"), which the table's probe cannot tell apart.
std::vector<CString> Names(int64_t n, const char *prefix, bool numberFirst) {
    std::vector<CString> names;
    for (int64_t i = 0; i < n; ++i) {
        std::string text = numberFirst ? std::to_string(i) + prefix : prefix + std::to_string(i);
        names.emplace_back(text.c_str());
    }
    return names;
}

void InsertAndFind(benchmark::State &state, const std::vector<CString> &names) {
    for (auto _ : state) {
        CHashTable<int64_t> table(-1);
        for (size_t i = 0; i < names.size(); ++i) table.Insert(names[i], static_cast<int64_t>(i));
        for (const CString &name : names) benchmark::DoNotOptimize(table.Find(name));
    }
    state.SetComplexityN(static_cast<int64_t>(names.size()));
}

void BM_HashDistinctNames(benchmark::State &state) { InsertAndFind(state, Names(state.range(0), "_node", true)); }
BENCHMARK(BM_HashDistinctNames)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

void BM_HashCommonPrefix(benchmark::State &state) { InsertAndFind(state, Names(state.range(0), "has_symptom_", false)); }
BENCHMARK(BM_HashCommonPrefix)->RangeMultiplier(4)->Range(256, 4096)->Complexity();

}  // namespace
