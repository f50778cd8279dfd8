// NetGraph: the inference net as a plain graph, for drawing.
//
// One entry per node in the net's node order, one edge per rule (solid,
// labelled with its two conditional probabilities) and per link (dashed),
// and the classes of the taxonomies as nested clusters. A node that belongs
// to several classes is drawn in the first class it joined, since a drawing
// can put it in one place only. The graph keeps pointers to the net's nodes
// so that a view can re-read their values as a consultation goes on without
// building the graph again; it never changes the net.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CInferenceNet;
class CNode;

namespace quorvin::graph {

enum class EdgeKind { rule, priorityLink, contextLink };

struct GraphNode {
    const CNode *node = nullptr;
    std::string name;
    std::string kind;  // "bayesian", "and", "or" or "not"
    bool goal = false;
    bool askable = false;
    bool asked = false;
    float prior = 0.0f;
    float current = 0.0f;
    int cluster = -1;  // the innermost cluster holding the node; -1 for none
};

struct GraphEdge {
    int from = 0;  // indices into NetGraph::nodes
    int to = 0;
    EdgeKind kind = EdgeKind::rule;
    std::string label;  // "0.9 / 0.2" for a rule, "[0.2, 0.8]" for a context link
};

// A taxonomy class; a root class stands for its taxonomy.
struct GraphCluster {
    std::string name;
    int parent = -1;  // the enclosing cluster; -1 for a taxonomy's root
};

struct NetGraph {
    std::vector<GraphNode> nodes;
    std::vector<GraphEdge> edges;
    std::vector<GraphCluster> clusters;  // a parent always before its subclasses
};

// The whole net; taxonomy clusters when the net has taxonomies.
NetGraph MakeNetGraph(const CInferenceNet &net);

// The nodes at most `radius` rules or links away from `centre`, nearest
// first and at most `maxNodes` of them, with the edges among them and the
// clusters that hold them. An empty graph when `centre` is not in `graph`.
NetGraph Neighbourhood(const NetGraph &graph, const CNode *centre, int radius, size_t maxNodes);

// Re-reads every node's current value and asked flag from the net.
void RefreshValues(NetGraph &graph);

}  // namespace quorvin::graph
