// A DOT text laid out by Graphviz's dot, held for as long as it is read.
//
// Graphviz keeps its error messages and plugin state in process-wide
// variables, so one graph is handled at a time across all threads; the
// holder keeps the lock until it is destroyed. The Graphviz context is the
// process's one, which lives until the process ends. Graphviz's own messages are
// collected for the caller instead of going to stderr.
#pragma once

#include <mutex>
#include <string>

struct Agraph_s;
struct GVC_s;

namespace quorvin::graph {

class GraphvizGraph {
public:
    // Parses and lays out `dot`; see Ok and Error.
    explicit GraphvizGraph(const std::string &dot);
    ~GraphvizGraph();
    GraphvizGraph(const GraphvizGraph &) = delete;
    GraphvizGraph &operator=(const GraphvizGraph &) = delete;

    bool Ok() const { return laidOut; }
    // Why the text could not be read or laid out.
    const std::string &Error() const { return error; }

    Agraph_s *Graph() const { return graph; }
    GVC_s *Context() const { return context; }
    // Takes the messages Graphviz gave since the last call.
    static std::string TakeMessages();

private:
    std::unique_lock<std::mutex> lock;
    GVC_s *context = nullptr;
    Agraph_s *graph = nullptr;
    bool laidOut = false;
    std::string error;
};

}  // namespace quorvin::graph
