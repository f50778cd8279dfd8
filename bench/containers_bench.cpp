// The growable containers under load, next to the standard library's: filling
// and walking vectors of pointers and of strings, and a queue that is taken
// from and put to in turn, as the net's propagation uses it.
#include <benchmark/benchmark.h>

#include <deque>
#include <string>
#include <vector>

#include "foundation/queue.h"
#include "foundation/string_collections.h"
#include "foundation/vector.h"

namespace {

void BM_CVectorAddPointers(benchmark::State &state) {
    for (auto _ : state) {
        CVector<void *> v;
        for (int64_t i = 0; i < state.range(0); ++i) v.Add(&v);
        benchmark::DoNotOptimize(v.Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CVectorAddPointers)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

void BM_StdVectorPushPointers(benchmark::State &state) {
    for (auto _ : state) {
        std::vector<void *> v;
        for (int64_t i = 0; i < state.range(0); ++i) v.push_back(&v);
        benchmark::DoNotOptimize(v.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StdVectorPushPointers)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

// Table fields: every row adds copies of strings that live elsewhere.
void BM_CVectorAddStrings(benchmark::State &state) {
    const CString field("a field of a table row, longer than a short string");
    for (auto _ : state) {
        CStringVector v;
        for (int64_t i = 0; i < state.range(0); ++i) v.Add(field);
        benchmark::DoNotOptimize(v.Count());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CVectorAddStrings)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

void BM_StdVectorPushStrings(benchmark::State &state) {
    const std::string field("a field of a table row, longer than a short string");
    for (auto _ : state) {
        std::vector<std::string> v;
        for (int64_t i = 0; i < state.range(0); ++i) v.push_back(field);
        benchmark::DoNotOptimize(v.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StdVectorPushStrings)->RangeMultiplier(10)->Range(1000, 1000000)->Complexity();

void BM_CVectorWalk(benchmark::State &state) {
    CVector<int32_t> v;
    for (int32_t i = 0; i < state.range(0); ++i) v.Add(i);
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t i = 0; i < v.Count(); ++i) sum += v.At(i);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CVectorWalk)->Arg(1000000);

void BM_StdVectorWalk(benchmark::State &state) {
    std::vector<int32_t> v;
    for (int32_t i = 0; i < state.range(0); ++i) v.push_back(i);
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t x : v) sum += x;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StdVectorWalk)->Arg(1000000);

// A long queue taken from and put to in turn: range(0) items wait, ten times
// as many pass through.
void BM_CQueueTakeAndPut(benchmark::State &state) {
    const int32_t waiting = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        CQueue<int32_t> q;
        for (int32_t i = 0; i < waiting; ++i) q.Put(i);
        int32_t out = 0;
        for (int32_t i = 0; i < 10 * waiting; ++i) {
            q.Take(out);
            q.Put(out);
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CQueueTakeAndPut)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

void BM_StdDequeTakeAndPut(benchmark::State &state) {
    const int32_t waiting = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        std::deque<int32_t> q;
        for (int32_t i = 0; i < waiting; ++i) q.push_back(i);
        int32_t out = 0;
        for (int32_t i = 0; i < 10 * waiting; ++i) {
            out = q.front();
            q.pop_front();
            q.push_back(out);
        }
        benchmark::DoNotOptimize(out);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_StdDequeTakeAndPut)->RangeMultiplier(10)->Range(1000, 100000)->Complexity();

}  // namespace
