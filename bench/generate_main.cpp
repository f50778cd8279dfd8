// quorvin-generate: writes a made-up knowledge base and its cases for
// measuring whole runs of quorvin-cli.
//
//   quorvin-generate DIR NODES [CASES]
//
// DIR/plant.qvb reads its case from cases.tsv (the first row);
// DIR/plant-batch.qvb runs all CASES rows of cases.tsv as a batch;
// DIR/plant-sqlite.qvb runs them from cases.db; DIR/plant-none.qvb has no
// table; the batches append to DIR/verdicts.tsv. CASES defaults to 1000. The tables are written only for nets of at
// most 2,000 readings (4,000 nodes), which is as wide as a SQLite table goes.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "kb_generator.h"

using namespace quorvin::bench;

namespace {

bool Write(const std::string &path, const std::string &text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: quorvin-generate DIR NODES [CASES]\n");
        return 64;
    }
    const std::string dir = argv[1];
    const int64_t nodes = std::atoll(argv[2]);
    const int64_t cases = argc > 3 ? std::atoll(argv[3]) : 1000;
    const GeneratedBase base = LayeredKnowledgeBase(nodes, CaseSource::textTable);
    const bool tables = base.readings.size() < 2000;
    bool ok = Write(dir + "/plant-none.qvb", LayeredKnowledgeBase(nodes, CaseSource::none).text);
    if (tables) {
        ok = ok && Write(dir + "/plant.qvb", base.text) &&
             Write(dir + "/plant-batch.qvb", LayeredKnowledgeBase(nodes, CaseSource::textBatch).text) &&
             Write(dir + "/plant-sqlite.qvb", LayeredKnowledgeBase(nodes, CaseSource::sqliteBatch).text) &&
             Write(dir + "/cases.tsv", CaseTable(base, cases)) &&
             Write(dir + "/verdicts.tsv", VerdictsHeader(base));
    }
    std::string error;
    if (ok && tables && !WriteSqliteCases(base, cases, dir + "/cases.db", error)) {
        std::fprintf(stderr, "quorvin-generate: %s\n", error.c_str());
        return 1;
    }
    if (!ok) {
        std::fprintf(stderr, "quorvin-generate: cannot write into %s\n", dir.c_str());
        return 1;
    }
    std::printf("%lld nodes, %lld rules, %zu readings, %lld cases\n", static_cast<long long>(base.nodes),
                static_cast<long long>(base.rules), base.readings.size(), static_cast<long long>(cases));
    return 0;
}
