#include "graph/graph_layout.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <cstdlib>
#include <cstring>

#include "graph/dot_text.h"
#include "graph/graphviz_graph.h"

namespace quorvin::graph {

namespace {

constexpr double kPointsPerInch = 72.0;

// The index in a name "<prefix><index>", or -1.
long IndexIn(const char *name, const char *prefix) {
    if (name == nullptr) return -1;
    const size_t length = std::strlen(prefix);
    if (std::strncmp(name, prefix, length) != 0) return -1;
    char *end = nullptr;
    const long index = std::strtol(name + length, &end, 10);
    return end != name + length && *end == '\0' ? index : -1;
}

// Graphviz's coordinates have y growing upwards from the bounding box's
// lower-left corner; the layout's grow downwards from its top-left.
class Flip {
public:
    explicit Flip(boxf box) : left(box.LL.x), top(box.UR.y) {}
    Point operator()(pointf p) const { return {p.x - left, top - p.y}; }

private:
    double left;
    double top;
};

NodeBox BoxOf(Agnode_t *node, const Flip &flip) {
    const Point centre = flip(ND_coord(node));
    return {centre.x, centre.y, ND_width(node) * kPointsPerInch, ND_height(node) * kPointsPerInch};
}

EdgePath PathOf(Agedge_t *edge, const Flip &flip) {
    EdgePath path;
    const splines *spline = ED_spl(edge);
    if (spline != nullptr && spline->size > 0) {
        // dot draws an edge as one piece; further pieces would be for
        // concentrated edges, which the pictures do not use.
        const bezier &curve = spline->list[0];
        for (int i = 0; i < curve.size; ++i) path.points.push_back(flip(curve.list[i]));
        path.hasArrow = curve.eflag != 0;
        if (path.hasArrow) path.arrowTip = flip(curve.ep);
    }
    if (const textlabel_t *label = ED_label(edge); label != nullptr && label->set) {
        path.hasLabel = true;
        path.labelAt = flip(label->pos);
    }
    return path;
}

void ReadClusters(Agraph_t *parent, const Flip &flip, GraphLayout &layout) {
    for (Agraph_t *sub = agfstsubg(parent); sub != nullptr; sub = agnxtsubg(sub)) {
        const long index = IndexIn(agnameof(sub), "cluster_");
        if (index >= 0 && static_cast<size_t>(index) < layout.clusters.size()) {
            const boxf box = GD_bb(sub);
            const Point topLeft = flip({box.LL.x, box.UR.y});
            ClusterBox &cluster = layout.clusters[index];
            cluster.x = topLeft.x;
            cluster.y = topLeft.y;
            cluster.width = box.UR.x - box.LL.x;
            cluster.height = box.UR.y - box.LL.y;
            if (const textlabel_t *label = GD_label(sub); label != nullptr && label->set) {
                cluster.hasLabel = true;
                cluster.labelAt = flip(label->pos);
            }
        }
        ReadClusters(sub, flip, layout);
    }
}

}  // namespace

bool LayOut(const NetGraph &graph, GraphLayout &layout, std::string &error) {
    GraphvizGraph laidOut(DotText(graph));
    if (!laidOut.Ok()) {
        error = laidOut.Error();
        return false;
    }
    Agraph_t *g = laidOut.Graph();
    const boxf box = GD_bb(g);
    const Flip flip(box);
    layout = GraphLayout{};
    layout.width = box.UR.x - box.LL.x;
    layout.height = box.UR.y - box.LL.y;
    layout.nodes.resize(graph.nodes.size());
    layout.edges.resize(graph.edges.size());
    layout.clusters.resize(graph.clusters.size());
    for (size_t c = 0; c < graph.clusters.size(); ++c) layout.clusters[c].label = graph.clusters[c].name;
    char idName[] = "id";
    for (Agnode_t *node = agfstnode(g); node != nullptr; node = agnxtnode(g, node)) {
        const long index = IndexIn(agnameof(node), "n");
        if (index >= 0 && static_cast<size_t>(index) < layout.nodes.size()) layout.nodes[index] = BoxOf(node, flip);
        for (Agedge_t *edge = agfstout(g, node); edge != nullptr; edge = agnxtout(g, edge)) {
            const long e = IndexIn(agget(edge, idName), "e");
            if (e >= 0 && static_cast<size_t>(e) < layout.edges.size()) layout.edges[e] = PathOf(edge, flip);
        }
    }
    ReadClusters(g, flip, layout);
    return true;
}

}  // namespace quorvin::graph
