// The timed part of the batch benchmarks: the batch knowledge base, built
// in its directory, consulted once per iteration into a fresh verdicts file.
// The items counted are the cases.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

#include "bench_consultation.h"
#include "kb_generator.h"

namespace quorvin::bench {

inline void RunBatches(benchmark::State &state, const ScratchDirectory &directory, const GeneratedBase &base,
                       int64_t cases) {
    BenchConsultation consultation(directory, base.text);
    if (!consultation.Built()) {
        state.SkipWithError("the knowledge base does not build");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        directory.Write("verdicts.tsv", VerdictsHeader(base));
        state.ResumeTiming();
        if (consultation.Run() != 0) {
            state.SkipWithError("the batch failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations() * cases);
    state.SetComplexityN(cases);
}

}  // namespace quorvin::bench
