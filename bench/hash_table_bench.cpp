// Hash tables of node names under load, next to std::unordered_map: inserting
// every name, then finding every one. Names of a large knowledge base share
// long prefixes ("has_symptom_of_the_patient_17"), which is where a poor
// hash function shows.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/hash_table.h"

namespace {

const char kLongPrefix[] = "has_symptom_of_the_patient_";

std::vector<std::string> Names(int64_t n, const char *prefix, bool numberFirst) {
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(n));
    for (int64_t i = 0; i < n; ++i) names.push_back(numberFirst ? std::to_string(i) + prefix : prefix + std::to_string(i));
    return names;
}

std::vector<CString> AsCStrings(const std::vector<std::string> &names) {
    std::vector<CString> result;
    result.reserve(names.size());
    for (const std::string &name : names) result.emplace_back(name.c_str());
    return result;
}

void CHashInsertAndFind(benchmark::State &state, const std::vector<CString> &names) {
    for (auto _ : state) {
        CHashTable<int64_t> table(-1);
        for (size_t i = 0; i < names.size(); ++i) table.Insert(names[i], static_cast<int64_t>(i));
        for (const CString &name : names) benchmark::DoNotOptimize(table.Find(name));
    }
    state.SetComplexityN(static_cast<int64_t>(names.size()));
}

void StdHashInsertAndFind(benchmark::State &state, const std::vector<std::string> &names) {
    for (auto _ : state) {
        std::unordered_map<std::string, int64_t> table;
        for (size_t i = 0; i < names.size(); ++i) table.emplace(names[i], static_cast<int64_t>(i));
        for (const std::string &name : names) {
            auto found = table.find(name);
            benchmark::DoNotOptimize(found == table.end() ? -1 : found->second);
        }
    }
    state.SetComplexityN(static_cast<int64_t>(names.size()));
}

void BM_CHashDistinctNames(benchmark::State &state) {
    CHashInsertAndFind(state, AsCStrings(Names(state.range(0), "_node", true)));
}
BENCHMARK(BM_CHashDistinctNames)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

void BM_CHashLongPrefix(benchmark::State &state) {
    CHashInsertAndFind(state, AsCStrings(Names(state.range(0), kLongPrefix, false)));
}
BENCHMARK(BM_CHashLongPrefix)->Arg(100000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_StdHashLongPrefix(benchmark::State &state) {
    StdHashInsertAndFind(state, Names(state.range(0), kLongPrefix, false));
}
BENCHMARK(BM_StdHashLongPrefix)->Arg(100000)->Arg(300000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
