// How fast an editor learns about its text: the check of the whole text
// (compile and consistency check, no file written) and its symbol index, by
// the size of the knowledge base. An editor's diagnostics should arrive
// within a second of the last keystroke for a text of 10 MB: 40,000 nodes
// of the generated knowledge base make about 10 MB.
#include <benchmark/benchmark.h>

#include "consult/text_check.h"
#include "kb_generator.h"
#include "language/symbol_index.h"
#include "retrieval/all_retrievers.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"

namespace {

using quorvin::bench::CaseSource;
using quorvin::bench::LayeredKnowledgeBase;

void BM_CheckText(benchmark::State &state) {
    const std::string text = LayeredKnowledgeBase(state.range(0), CaseSource::none).text;
    CUserInterface noWindows;
    CTableEnvironment environment;
    CAllRetrieversWin registry(noWindows, environment);
    for (auto _ : state) {
        const CTextCheck check = CheckText(text, &registry);
        if (!check.ok) state.SkipWithError("the generated knowledge base did not check");
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CheckText)->RangeMultiplier(10)->Range(1000, 100000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_SymbolIndex(benchmark::State &state) {
    const std::string text = LayeredKnowledgeBase(state.range(0), CaseSource::none).text;
    for (auto _ : state) benchmark::DoNotOptimize(CSymbolIndex::Read(text).Nodes().size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["bytes"] = static_cast<double>(text.size());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_SymbolIndex)->RangeMultiplier(10)->Range(1000, 100000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
