// A knowledge base compiled with the program's own registry of retrievers
// and translators, for tests that go through the run-time table.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "net/params.h"
#include "language/input_char.h"
#include "language/inf_net_compiler.h"
#include "language/output.h"
#include "net/inf_tax_net.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"
#include "tests/retrieval/shared_registry.h"
#include "tables/table_environment.h"
#include "ui/user_interface.h"

namespace retrieval_test {

// The build's lines, the detail lines (two leading spaces) kept apart.
class LineLog : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *text) override {
        const std::string line(text);
        (line.rfind("  ", 0) == 0 ? details : lines).push_back(line);
    }
    std::vector<std::string> lines;
    std::vector<std::string> details;
};

struct KnowledgeBase {
    // Built with the shared registry, which asks no question.
    explicit KnowledgeBase(const std::string &text) { Build(text, Registry()); }
    // Built with a registry of its own whose questions go to `ui`'s windows.
    KnowledgeBase(const std::string &text, const CUserInterface &ui)
        : own(std::make_unique<CAllRetrieversWin>(ui, environment)) {
        Build(text, *own);
    }

    void Build(const std::string &text, const CAllRetrievers &registry) {
        copied = registry.CopyIntoTable(&table);
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

    CTableEnvironment environment;  // of the registry's tables: names as given
    std::unique_ptr<CAllRetrieversWin> own;
    CInfTaxNet net;
    CTable table;
    CParameters parameters;
    LineLog log;
    int32_t copied = -1;
    int compiled = -1;
};

}  // namespace retrieval_test
