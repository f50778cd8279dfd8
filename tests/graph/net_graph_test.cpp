#include "graph/net_graph.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "net/node.h"
#include "tests/language/knowledge_base.h"

namespace {

using quorvin::graph::EdgeKind;
using quorvin::graph::MakeNetGraph;
using quorvin::graph::NetGraph;
using quorvin::graph::Neighbourhood;

const char *const kTaxonomyNet = R"(
nodes {
  a { (bayesian, 0.5) }
  b { (bayesian, 0.5) }
  c { (logical, and) }
  d { (bayesian, 0.2, goal) }
  e { (logical, not, goal) }
}
rules {
  { a, c }
  { b, c }
  { c, d, 0.9, 0.1 }
  { d, e }
}
links {
  { a, b }
  { b, d, 0.25, 0.75 }
}
taxonomies {
  top hypothesis { inner (d) { deepest (e) } }
  other hiddenboth (a, d)
}
)";

int IndexOf(const NetGraph &graph, const std::string &name) {
    for (size_t i = 0; i < graph.nodes.size(); ++i) {
        if (graph.nodes[i].name == name) return static_cast<int>(i);
    }
    return -1;
}

TEST(NetGraph, HoldsNodesRulesLinksAndClassesOfTheNet) {
    retrieval_test::KnowledgeBase kb(kTaxonomyNet);
    ASSERT_EQ(kb.compiled, 0) << kb.Error();
    const NetGraph graph = MakeNetGraph(kb.net);

    ASSERT_EQ(graph.nodes.size(), 5u);
    EXPECT_EQ(graph.nodes[IndexOf(graph, "c")].kind, "and");
    EXPECT_EQ(graph.nodes[IndexOf(graph, "e")].kind, "not");
    EXPECT_EQ(graph.nodes[IndexOf(graph, "a")].kind, "bayesian");
    EXPECT_TRUE(graph.nodes[IndexOf(graph, "d")].goal);
    EXPECT_FLOAT_EQ(graph.nodes[IndexOf(graph, "d")].prior, 0.2f);

    ASSERT_EQ(graph.edges.size(), 6u);
    const auto &rule = graph.edges[2];
    EXPECT_EQ(rule.kind, EdgeKind::rule);
    EXPECT_EQ(rule.from, IndexOf(graph, "c"));
    EXPECT_EQ(rule.to, IndexOf(graph, "d"));
    EXPECT_EQ(rule.label, "0.9 / 0.1");
    EXPECT_EQ(graph.edges[4].kind, EdgeKind::priorityLink);
    EXPECT_EQ(graph.edges[5].kind, EdgeKind::contextLink);
    EXPECT_EQ(graph.edges[5].label, "[0.25, 0.75]");

    // Classes, parents first; a node sits in the first class it joined.
    ASSERT_EQ(graph.clusters.size(), 4u);
    EXPECT_EQ(graph.clusters[0].name, "top");
    EXPECT_EQ(graph.clusters[0].parent, -1);
    EXPECT_EQ(graph.clusters[1].name, "inner");
    EXPECT_EQ(graph.clusters[2].name, "deepest");
    EXPECT_EQ(graph.clusters[2].parent, 1);
    EXPECT_EQ(graph.nodes[IndexOf(graph, "d")].cluster, 1);
    EXPECT_EQ(graph.nodes[IndexOf(graph, "e")].cluster, 2);
    EXPECT_EQ(graph.nodes[IndexOf(graph, "a")].cluster, 3);
    EXPECT_EQ(graph.nodes[IndexOf(graph, "b")].cluster, -1);
}

TEST(NetGraph, RefreshReadsTheValuesTheNetHasNow) {
    retrieval_test::KnowledgeBase kb(kTaxonomyNet);
    ASSERT_EQ(kb.compiled, 0) << kb.Error();
    NetGraph graph = MakeNetGraph(kb.net);
    CNode *d = kb.Node("d");
    d->current = 0.75f;
    d->asked = true;
    EXPECT_NE(graph.nodes[IndexOf(graph, "d")].current, 0.75f);
    quorvin::graph::RefreshValues(graph);
    EXPECT_FLOAT_EQ(graph.nodes[IndexOf(graph, "d")].current, 0.75f);
    EXPECT_TRUE(graph.nodes[IndexOf(graph, "d")].asked);
}

// A chain n0 - n1 - ... - n9 with a side branch at n5.
NetGraph Chain() {
    NetGraph graph;
    graph.clusters = {{"outer", -1}, {"unused", -1}, {"inner", 0}};
    for (int i = 0; i < 11; ++i) {
        quorvin::graph::GraphNode node;
        node.node = reinterpret_cast<const CNode *>(static_cast<uintptr_t>(0x1000 + 16 * i));
        node.name = "n" + std::to_string(i);
        graph.nodes.push_back(node);
    }
    graph.nodes[6].cluster = 2;
    for (int i = 0; i + 1 < 10; ++i) graph.edges.push_back({i, i + 1, EdgeKind::rule, "r"});
    graph.edges.push_back({10, 5, EdgeKind::priorityLink, "priority"});
    return graph;
}

TEST(NetGraph, NeighbourhoodKeepsTheNearNodesTheirEdgesAndClusters) {
    const NetGraph graph = Chain();
    const NetGraph part = Neighbourhood(graph, graph.nodes[5].node, 1, 100);
    std::vector<std::string> names;
    for (const auto &node : part.nodes) names.push_back(node.name);
    EXPECT_EQ(names, (std::vector<std::string>{"n5", "n4", "n6", "n10"}));
    // Edges among the kept nodes only, renumbered.
    ASSERT_EQ(part.edges.size(), 3u);
    for (const auto &edge : part.edges) {
        EXPECT_TRUE(part.nodes[edge.from].name == "n5" || part.nodes[edge.to].name == "n5");
    }
    // n6's class and its parent, renumbered; the unused class dropped.
    ASSERT_EQ(part.clusters.size(), 2u);
    EXPECT_EQ(part.clusters[0].name, "outer");
    EXPECT_EQ(part.clusters[1].name, "inner");
    EXPECT_EQ(part.clusters[1].parent, 0);
    EXPECT_EQ(part.nodes[2].cluster, 1);

    EXPECT_EQ(Neighbourhood(graph, graph.nodes[0].node, 3, 100).nodes.size(), 4u);
    EXPECT_EQ(Neighbourhood(graph, graph.nodes[5].node, 10, 3).nodes.size(), 3u);
    EXPECT_TRUE(Neighbourhood(graph, nullptr, 2, 10).nodes.empty());
}

}  // namespace
