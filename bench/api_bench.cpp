// The embedding API: one consultation through a quorvin::Session, to set
// beside BM_Consult (the same net and case through the driver directly),
// and sessions on several threads at once, which should scale with the
// cores. The readings come from the first case of a tab file.
#include <benchmark/benchmark.h>

#include "bench_consultation.h"
#include "kb_generator.h"
#include "quorvin/quorvin.h"

namespace {

using namespace quorvin::bench;

// Consults the generated net of `nodes` nodes through a session of its own
// for as long as `state` runs.
void ConsultThroughSession(benchmark::State &state, int64_t nodes) {
    const GeneratedBase base = LayeredKnowledgeBase(nodes, CaseSource::textTable);
    ScratchDirectory directory;
    directory.Write("cases.tsv", CaseTable(base, 1));
    const quorvin::KnowledgeBase kb = quorvin::KnowledgeBase::FromText(base.text, directory.Path().string(), "kb.qvb");
    quorvin::Session session(kb);
    if (!kb.Built()) {
        state.SkipWithError("the knowledge base does not build");
        return;
    }
    for (auto _ : state) {
        if (session.Run().status != quorvin::Status::ok) {
            state.SkipWithError("the consultation failed");
            break;
        }
    }
}

void BM_ApiConsult(benchmark::State &state) {
    ConsultThroughSession(state, state.range(0));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ApiConsult)->RangeMultiplier(10)->Range(1000, 10000)->Unit(benchmark::kMicrosecond)->Complexity();

// Every benchmark thread consults with a session of its own: with real time
// measured, the rate should grow with the threads up to the cores.
void BM_ApiSessionsOnThreads(benchmark::State &state) { ConsultThroughSession(state, state.range(0)); }
BENCHMARK(BM_ApiSessionsOnThreads)->Arg(1000)->ThreadRange(1, 4)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
