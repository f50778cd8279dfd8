// How the work grows with the size of a knowledge base and of its case
// table: lexing, building (read, compile, check), checking, one consultation
// in memory, batches from a tab file and from SQLite, and the memory a
// built net keeps per node plus rule. The figures and the targets are in
// docs/performance.md. Every benchmark's smallest size is 1000 (nodes or
// cases), which the smoke test runs.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <map>
#include <memory>

#include <string>

#include "batch_runs.h"
#include "bench_consultation.h"
#include "consult/inf_control.h"
#include "kb_generator.h"
#include "language/inf_net_compiler.h"
#include "language/input_char.h"
#include "language/lexer.h"
#include "language/output.h"
#include "net/inf_tax_net.h"
#include "net/params.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/table.h"

namespace {

using namespace quorvin::bench;

class NoLines : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *) override {}
};

const std::string &Text(int64_t nodes) {
    static std::map<int64_t, std::string> texts;
    auto found = texts.find(nodes);
    if (found == texts.end()) found = texts.emplace(nodes, LayeredKnowledgeBase(nodes, CaseSource::none).text).first;
    return found->second;
}

// A fresh source holding the text, made while the clock stands: the console
// moves the file it read into the source, and a copy of a 256 MB text into
// freshly mapped pages costs more than lexing it.
std::unique_ptr<CPInputChar> SourceOf(benchmark::State &state, const std::string &text) {
    state.PauseTiming();
    auto source = std::make_unique<CPInputChar>(std::string(text));
    state.ResumeTiming();
    return source;
}

void BM_Lex(benchmark::State &state) {
    const std::string &text = Text(state.range(0));
    for (auto _ : state) {
        const std::unique_ptr<CPInputChar> input = SourceOf(state, text);
        input->Open();
        CLexicalAnalyzer lexer(input.get());
        int64_t tokens = 0;
        while (lexer.Next() != tokEnd) ++tokens;
        benchmark::DoNotOptimize(tokens);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Lex)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();

// Reads and compiles the text into `net`; 0 when it compiled.
int Compile(CPInputChar &input, CInfTaxNet &net, CTable &table, CParameters &parameters,
            const CAllRetrievers &registry) {
    registry.CopyIntoTable(&table);
    NoLines lines;
    CInfNetCompiler compiler(&input, &lines);
    compiler.SetTargets(&net, &table, &parameters);
    return compiler.Compile();
}

struct Registry {
    CUserInterface ui;
    CTableEnvironment environment;
    CAllRetrieversWin all{ui, environment};
};

void BM_Build(benchmark::State &state) {
    const std::string &text = Text(state.range(0));
    Registry registry;
    for (auto _ : state) {
        CInfTaxNet net;
        CTable table;
        CParameters parameters;
        const std::unique_ptr<CPInputChar> input = SourceOf(state, text);
        if (Compile(*input, net, table, parameters, registry.all) != 0 || net.Check() != 0) {
            state.SkipWithError("the knowledge base does not build");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Build)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();

void BM_Check(benchmark::State &state) {
    Registry registry;
    CInfTaxNet net;
    CTable table;
    CParameters parameters;
    CPInputChar input(std::string(Text(state.range(0))));
    if (Compile(input, net, table, parameters, registry.all) != 0) {
        state.SkipWithError("the knowledge base does not compile");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(net.Check());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Check)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Complexity();

// The bytes the allocator has handed out: small blocks and blocks it mapped
// on their own (the net's arena takes large ones).
size_t AllocatedBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// What a built net keeps, per node plus rule, as the allocator counts it;
// built means checked too, which enters the rules in their nodes' lists.
void BM_MemoryPerNodeAndRule(benchmark::State &state) {
    const GeneratedBase base = LayeredKnowledgeBase(state.range(0), CaseSource::none);
    Registry registry;
    double perElement = 0.0;
    for (auto _ : state) {
        const size_t before = AllocatedBytes();
        {
            CInfTaxNet net;
            CTable table;
            CParameters parameters;
            CPInputChar input(std::string(base.text));
            Compile(input, net, table, parameters, registry.all);
            if (net.Check() != 0) state.SkipWithError(net.checkMessage.Text());
            const size_t after = AllocatedBytes();
            perElement = static_cast<double>(after - before) / static_cast<double>(base.nodes + base.rules);
        }
    }
    state.counters["bytes_per_node_and_rule"] = perElement;
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MemoryPerNodeAndRule)->RangeMultiplier(10)->Range(1000, 1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

// One consultation of a net whose readings come from the first case of a
// tab file, as a scripted user would answer them.
void BM_Consult(benchmark::State &state) {
    const GeneratedBase base = LayeredKnowledgeBase(state.range(0), CaseSource::textTable);
    ScratchDirectory directory;
    directory.Write("cases.tsv", CaseTable(base, 1));
    BenchConsultation consultation(directory, base.text);
    if (!consultation.Built()) {
        state.SkipWithError("the knowledge base does not build");
        return;
    }
    for (auto _ : state) {
        if (consultation.Run() != 0) {
            state.SkipWithError("the consultation failed");
            break;
        }
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Consult)->RangeMultiplier(10)->Range(1000, 10000)->Unit(benchmark::kMicrosecond)->Complexity();

// A batch through a 200-node net over `cases` cases, from a tab file or
// from SQLite, the verdicts appended to a tab file.
void Batch(benchmark::State &state, CaseSource source) {
    const int64_t cases = state.range(0);
    const GeneratedBase base = LayeredKnowledgeBase(200, source);
    ScratchDirectory directory;
    directory.Write("cases.tsv", CaseTable(base, cases));
    std::string error;
    if (source == CaseSource::sqliteBatch &&
        !WriteSqliteCases(base, cases, (directory.Path() / "cases.db").string(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    RunBatches(state, directory, base, cases);
}

void BM_BatchText(benchmark::State &state) { Batch(state, CaseSource::textBatch); }
void BM_BatchSqlite(benchmark::State &state) { Batch(state, CaseSource::sqliteBatch); }
BENCHMARK(BM_BatchText)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(BM_BatchSqlite)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
