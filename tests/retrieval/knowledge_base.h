// A knowledge base compiled with the program's own registry of retrievers
// and translators, for tests that go through the run-time table.
#pragma once

#include <string>
#include <vector>

#include "net/params.h"
#include "language/input_char.h"
#include "language/inf_net_compiler.h"
#include "language/output.h"
#include "net/inf_tax_net.h"
#include "net/table.h"
#include "retrieval/all_retrievers.h"

namespace retrieval_test {

// The registry, shared by every build as in the program.
inline CAllRetrieversWin &Registry() {
    static CAllRetrieversWin registry;
    return registry;
}

class LineLog : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

struct KnowledgeBase {
    explicit KnowledgeBase(const std::string &text) {
        copied = Registry().CopyIntoTable(&table);
        CPInputChar source(text.data(), static_cast<int32_t>(text.size()));
        CInfNetCompiler compiler(&source, &log);
        compiler.SetTargets(&net, &table, &parameters);
        compiled = compiler.Compile();
    }

    CNode *Node(const char *name) { return net.FindNode(CString(name)); }
    // The compiler's one error line, or "".
    std::string Error() const { return log.lines.empty() ? std::string() : log.lines.front(); }
    // Retrieves the node's value through the table: the code, and the value
    // in `value`.
    int32_t Retrieve(const char *name, float &value) { return table.RetrieveNodeValue(Node(name), value, &net); }

    CInfTaxNet net;
    CTable table;
    CParameters parameters;
    LineLog log;
    int32_t copied = -1;
    int compiled = -1;
};

}  // namespace retrieval_test
