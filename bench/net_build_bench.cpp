// How building a net scales with its size: nodes, rules and the check.
#include <benchmark/benchmark.h>

#include <string>

#include "net/inference_net.h"

namespace {

// Names as a knowledge engineer writes them: a short common prefix and a
// distinguishing word or number.
CString NodeName(int64_t i) { return CString(("finding_" + std::to_string(i)).c_str()); }

void BuildChainNet(CInferenceNet &net, int64_t nodes) {
    for (int64_t i = 0; i < nodes; ++i) net.AddBayesNode(NodeName(i), 0.5f, i % 2 == 0, i % 100 == 0);
    for (int64_t i = 1; i < nodes; ++i) net.AddRule(NodeName(i), NodeName(i - 1), 0.9f, 0.1f);
}

void BM_BuildNet(benchmark::State &state) {
    for (auto _ : state) {
        CInferenceNet net;
        BuildChainNet(net, state.range(0));
        benchmark::DoNotOptimize(net.FindNode(NodeName(0)));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_BuildNet)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_CheckNet(benchmark::State &state) {
    CInferenceNet net;
    BuildChainNet(net, state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(net.Check());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CheckNet)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
