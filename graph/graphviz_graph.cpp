#include "graph/graphviz_graph.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

namespace quorvin::graph {

namespace {

std::mutex graphvizLock;
// Written by Graphviz's error hook, only while graphvizLock is held.
std::string messages;

// One context for the whole process, made at the first use and never freed:
// the text layout plugin keeps a cache of font names that outlives a freed
// context and would then be read after it was freed.
GVC_t *SharedContext() {
    static GVC_t *const context = gvContext();
    return context;
}

int CollectMessage(char *text) {
    messages += text;
    return 0;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text;
}

}  // namespace

GraphvizGraph::GraphvizGraph(const std::string &dot) : lock(graphvizLock) {
    agseterrf(CollectMessage);
    agseterr(AGERR);
    messages.clear();
    context = SharedContext();
    if (context == nullptr) {
        error = "Graphviz could not start";
        return;
    }
    graph = agmemread(dot.c_str());
    if (graph == nullptr) {
        error = "Graphviz could not read the graph: " + Trimmed(TakeMessages());
        return;
    }
    if (gvLayout(context, graph, "dot") != 0) {
        error = "Graphviz could not lay out the graph: " + Trimmed(TakeMessages());
        return;
    }
    laidOut = true;
}

GraphvizGraph::~GraphvizGraph() {
    if (graph != nullptr) {
        if (laidOut) gvFreeLayout(context, graph);
        agclose(graph);
    }
    agseterrf(nullptr);
}

std::string GraphvizGraph::TakeMessages() {
    std::string taken;
    taken.swap(messages);
    return taken;
}

}  // namespace quorvin::graph
