#include "graph/dot_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "graph/graph_layout.h"
#include "graph/graph_render.h"
#include "graph/value_colour.h"

namespace {

using namespace quorvin::graph;

TEST(DotText, EscapesWhatDotWouldMisread) {
    EXPECT_EQ(DotEscaped("plain name"), "plain name");
    EXPECT_EQ(DotEscaped("say \"hi\""), "say \\\"hi\\\"");
    EXPECT_EQ(DotEscaped("back\\slash\\"), "back\\\\slash\\\\");
    EXPECT_EQ(DotEscaped("salt & pepper"), "salt &amp; pepper");
    // UTF-8 stays; a byte that is not UTF-8 is read as Latin-1.
    EXPECT_EQ(DotEscaped("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(DotEscaped("caf\xE9"), "caf\xC3\xA9");
    EXPECT_EQ(DotEscaped("\xFF\x80"), "\xC3\xBF\xC2\x80");
    // Truncated, overlong and surrogate sequences are not UTF-8.
    EXPECT_EQ(DotEscaped("\xE2\x86"), "\xC3\xA2\xC2\x86");
    EXPECT_EQ(DotEscaped("\xC0\xAF"), "\xC3\x80\xC2\xAF");
    EXPECT_EQ(DotEscaped("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xC2\x80");
}

// Names a knowledge base may hold, with the characters DOT is touchy about,
// and a cycle through nested classes (which crashed the layout until the
// ranking that knows clusters was asked for).
NetGraph HostileGraph() {
    NetGraph graph;
    graph.clusters = {{"class \"quoted\" \\", -1}, {"sub\xE9", 0}};
    const char *names[] = {"a \"b\" c", "ends with \\", "\xE9t\xE9", "x & y -> z", "{ [ ] } ; ,", "goal"};
    for (const char *name : names) {
        GraphNode node;
        node.name = name;
        node.kind = "bayesian";
        node.current = 0.5f;
        graph.nodes.push_back(node);
    }
    graph.nodes[2].kind = "or";
    graph.nodes[2].cluster = 1;
    graph.nodes[0].cluster = 0;
    graph.nodes[5].goal = true;
    graph.nodes[1].askable = true;
    for (int i = 0; i < 5; ++i) graph.edges.push_back({i, 5, EdgeKind::rule, "0.9 / 0.1"});
    graph.edges.push_back({0, 1, EdgeKind::contextLink, "[0, 0.5]"});
    graph.edges.push_back({5, 0, EdgeKind::priorityLink, "priority"});  // a cycle
    return graph;
}

TEST(DotText, GraphvizReadsBackEveryNodeEdgeAndCluster) {
    const NetGraph graph = HostileGraph();
    const std::string dot = DotText(graph, "the check said \"no\"");
    EXPECT_NE(dot.find("label=\"the check said \\\"no\\\"\""), std::string::npos);
    EXPECT_NE(dot.find("n0 -> n1 [id=\"e5\" label=\"[0, 0.5]\" style=dashed]"), std::string::npos);
    EXPECT_NE(dot.find("n5 [label=\"goal\\n0.000 \xE2\x86\x92 0.500\" fillcolor=\"#f0f0f0\" penwidth=2.5]"),
              std::string::npos);

    GraphLayout layout;
    std::string error;
    ASSERT_TRUE(LayOut(graph, layout, error)) << error;
    ASSERT_EQ(layout.nodes.size(), graph.nodes.size());
    for (const NodeBox &box : layout.nodes) {
        EXPECT_GT(box.width, 0.0);
        EXPECT_GE(box.x, 0.0);
        EXPECT_LE(box.x, layout.width);
        EXPECT_GE(box.y, 0.0);
        EXPECT_LE(box.y, layout.height);
    }
    for (const EdgePath &edge : layout.edges) {
        ASSERT_GE(edge.points.size(), 4u);
        EXPECT_EQ((edge.points.size() - 1) % 3, 0u);
        EXPECT_TRUE(edge.hasArrow);
        EXPECT_TRUE(edge.hasLabel);
    }
    // The goal is drawn above the sources of its rules.
    for (int i = 1; i < 5; ++i) EXPECT_LT(layout.nodes[5].y, layout.nodes[i].y) << graph.nodes[i].name;
    // A cluster's box holds its nodes, the subclass inside its class.
    const auto holds = [](const ClusterBox &c, double x, double y) {
        return x >= c.x && x <= c.x + c.width && y >= c.y && y <= c.y + c.height;
    };
    EXPECT_TRUE(holds(layout.clusters[0], layout.nodes[0].x, layout.nodes[0].y));
    EXPECT_TRUE(holds(layout.clusters[1], layout.nodes[2].x, layout.nodes[2].y));
    EXPECT_TRUE(holds(layout.clusters[0], layout.nodes[2].x, layout.nodes[2].y));
    EXPECT_FALSE(holds(layout.clusters[1], layout.nodes[0].x, layout.nodes[0].y));
    EXPECT_EQ(layout.clusters[1].label, "sub\xE9");
    // Each label lies in its own box, clear of the nodes.
    for (const ClusterBox &cluster : layout.clusters) {
        EXPECT_TRUE(cluster.hasLabel);
        EXPECT_TRUE(holds(cluster, cluster.labelAt.x, cluster.labelAt.y));
    }
    for (const NodeBox &box : layout.nodes)
        EXPECT_FALSE(std::abs(box.x - layout.clusters[1].labelAt.x) < box.width / 2 &&
                     std::abs(box.y - layout.clusters[1].labelAt.y) < box.height / 2);
}

TEST(DotText, RendersSvgAndPngAndReportsBadInput) {
    const std::string dot = DotText(HostileGraph());
    std::string picture;
    std::string error;
    ASSERT_TRUE(RenderPicture(dot, PictureFormat::svg, picture, error)) << error;
    EXPECT_NE(picture.find("<svg"), std::string::npos);
    EXPECT_NE(picture.find("x &amp; y &#45;&gt; z"), std::string::npos) << picture;
    ASSERT_TRUE(RenderPicture(dot, PictureFormat::png, picture, error)) << error;
    EXPECT_EQ(picture.substr(0, 8), "\x89PNG\r\n\x1a\n");
    ASSERT_TRUE(RenderPicture(dot, PictureFormat::dot, picture, error));
    EXPECT_EQ(picture, dot);

    EXPECT_FALSE(RenderPicture("digraph { a -> ", PictureFormat::svg, picture, error));
    EXPECT_NE(error.find("could not read"), std::string::npos) << error;
    // Graphviz recovers after a failure.
    EXPECT_TRUE(RenderPicture(dot, PictureFormat::svg, picture, error)) << error;

    EXPECT_EQ(FormatOfFile("net.DOT"), PictureFormat::dot);
    EXPECT_EQ(FormatOfFile("dir/net.gv"), PictureFormat::dot);
    EXPECT_EQ(FormatOfFile("net.svg"), PictureFormat::svg);
    EXPECT_EQ(FormatOfFile("a.b/net.Png"), PictureFormat::png);
    EXPECT_EQ(FormatOfFile("net.pdf"), std::nullopt);
    EXPECT_EQ(FormatOfFile("dir.svg/net"), std::nullopt);
}

TEST(ValueColour, RunsFromRedThroughGreyToBlue) {
    EXPECT_EQ(HexText(ValueColour(0.0f)), "#ca0020");
    EXPECT_EQ(HexText(ValueColour(0.5f)), "#f0f0f0");
    EXPECT_EQ(HexText(ValueColour(1.0f)), "#0571b0");
    EXPECT_EQ(HexText(ValueColour(-3.0f)), "#ca0020");
    EXPECT_EQ(HexText(ValueColour(7.0f)), "#0571b0");
    EXPECT_EQ(HexText(ValueColour(0.0f / 0.0f)), "#f0f0f0");
    // The higher the value, the bluer and the less red.
    const auto blueness = [](float v) { return ValueColour(v).b - ValueColour(v).r; };
    for (float v = 0.0f; v < 1.0f; v += 0.05f) EXPECT_LT(blueness(v), blueness(v + 0.05f)) << v;
    EXPECT_TRUE(IsDark(ValueColour(1.0f)));
    EXPECT_TRUE(IsDark(ValueColour(0.0f)));
    EXPECT_FALSE(IsDark(ValueColour(0.5f)));
}

}  // namespace
