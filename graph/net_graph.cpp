#include "graph/net_graph.h"

#include <cstdio>
#include <deque>
#include <unordered_map>

#include "net/inf_tax_net.h"
#include "net/link.h"
#include "net/logical_node.h"
#include "net/node.h"
#include "net/rule.h"
#include "net/taxonomy_class.h"

namespace quorvin::graph {

namespace {

std::string KindName(const CNode &node) {
    if (node.kind == CNode::kBayesian) return "bayesian";
    switch (static_cast<const CLogicalNode &>(node).logicalType) {
        case CLogicalNode::kAnd: return "and";
        case CLogicalNode::kOr: return "or";
        default: return "not";
    }
}

// Shortest text that reads back as the same float ("0.9", not "0.899999976").
std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
    return text;
}

std::string RuleLabel(const CRule &rule) { return Number(rule.pYes) + " / " + Number(rule.pNo); }

GraphEdge LinkEdge(const CLink &link, int from, int to) {
    GraphEdge edge{from, to, EdgeKind::priorityLink, "priority"};
    if (!link.isPriority) {
        const auto &context = static_cast<const CContextLink &>(link);
        edge.kind = EdgeKind::contextLink;
        edge.label = "[" + Number(context.low) + ", " + Number(context.high) + "]";
    }
    return edge;
}

// Clusters for every class, parents first, and each node in the first class
// it joined.
void AddClusters(const CInfTaxNet &net, NetGraph &graph, const std::unordered_map<const CNode *, int> &index) {
    std::unordered_map<const CTaxCl *, int> clusterOf;
    // Classes are created after their parents, so creation order is parents first.
    for (int32_t i = 0; i < net.allClasses.Count(); ++i) {
        const CTaxCl *taxClass = net.allClasses.At(i);
        const int parent = taxClass->parent != nullptr ? clusterOf.at(taxClass->parent) : -1;
        clusterOf[taxClass] = static_cast<int>(graph.clusters.size());
        graph.clusters.push_back({taxClass->name.Text(), parent});
    }
    for (const auto &[node, position] : index) {
        if (node->classes.Count() > 0) graph.nodes[position].cluster = clusterOf.at(node->classes.At(0));
    }
}

}  // namespace

NetGraph MakeNetGraph(const CInferenceNet &net) {
    NetGraph graph;
    std::unordered_map<const CNode *, int> index;
    for (int32_t i = 0; i < net.nodes.Count(); ++i) {
        const CNode *node = net.nodes.At(i);
        index[node] = i;
        graph.nodes.push_back({node, node->name.Text(), KindName(*node), node->goal, node->askable, node->asked,
                               node->prior, node->current, -1});
    }
    for (int32_t i = 0; i < net.rules.Count(); ++i) {
        const CRule *rule = net.rules.At(i);
        graph.edges.push_back({index.at(rule->source), index.at(rule->target), EdgeKind::rule, RuleLabel(*rule)});
    }
    for (int32_t i = 0; i < net.links.Count(); ++i) {
        const CLink *link = net.links.At(i);
        graph.edges.push_back(LinkEdge(*link, index.at(link->source), index.at(link->target)));
    }
    if (const auto *taxNet = dynamic_cast<const CInfTaxNet *>(&net)) AddClusters(*taxNet, graph, index);
    return graph;
}

namespace {

// The nodes within `radius` of `centre`, breadth first over edges taken
// both ways.
std::vector<int> NearNodes(const NetGraph &graph, int centre, int radius, size_t maxNodes) {
    std::vector<std::vector<int>> neighbours(graph.nodes.size());
    for (const GraphEdge &edge : graph.edges) {
        neighbours[edge.from].push_back(edge.to);
        neighbours[edge.to].push_back(edge.from);
    }
    std::vector<int> distance(graph.nodes.size(), -1);
    std::vector<int> found{centre};
    std::deque<int> queue{centre};
    distance[centre] = 0;
    while (!queue.empty() && found.size() < maxNodes) {
        const int at = queue.front();
        queue.pop_front();
        if (distance[at] == radius) continue;
        for (int next : neighbours[at]) {
            if (distance[next] >= 0 || found.size() >= maxNodes) continue;
            distance[next] = distance[at] + 1;
            found.push_back(next);
            queue.push_back(next);
        }
    }
    return found;
}

// The clusters holding the kept nodes, with their enclosing ones, renumbered
// in the original order so that parents stay before subclasses.
void KeepClusters(const NetGraph &graph, NetGraph &part) {
    std::vector<bool> used(graph.clusters.size(), false);
    for (const GraphNode &node : part.nodes) {
        for (int c = node.cluster; c >= 0 && !used[c]; c = graph.clusters[c].parent) used[c] = true;
    }
    std::vector<int> renumbered(graph.clusters.size(), -1);
    for (size_t c = 0; c < graph.clusters.size(); ++c) {
        if (!used[c]) continue;
        renumbered[c] = static_cast<int>(part.clusters.size());
        GraphCluster cluster = graph.clusters[c];
        if (cluster.parent >= 0) cluster.parent = renumbered[cluster.parent];
        part.clusters.push_back(cluster);
    }
    for (GraphNode &node : part.nodes) {
        if (node.cluster >= 0) node.cluster = renumbered[node.cluster];
    }
}

}  // namespace

NetGraph Neighbourhood(const NetGraph &graph, const CNode *centre, int radius, size_t maxNodes) {
    NetGraph part;
    int centreIndex = -1;
    for (size_t i = 0; i < graph.nodes.size() && centreIndex < 0; ++i) {
        if (graph.nodes[i].node == centre) centreIndex = static_cast<int>(i);
    }
    if (centreIndex < 0 || maxNodes == 0) return part;
    std::vector<int> kept = NearNodes(graph, centreIndex, radius, maxNodes);
    std::unordered_map<int, int> position;
    for (int original : kept) {
        position[original] = static_cast<int>(part.nodes.size());
        part.nodes.push_back(graph.nodes[original]);
    }
    for (const GraphEdge &edge : graph.edges) {
        auto from = position.find(edge.from);
        auto to = position.find(edge.to);
        if (from == position.end() || to == position.end()) continue;
        part.edges.push_back({from->second, to->second, edge.kind, edge.label});
    }
    KeepClusters(graph, part);
    return part;
}

void RefreshValues(NetGraph &graph) {
    for (GraphNode &node : graph.nodes) {
        node.current = node.node->current;
        node.asked = node.node->asked;
    }
}

}  // namespace quorvin::graph
