// The layout of a net's picture, computed by Graphviz's dot, for a front end
// that draws the picture itself (the desktop's net view).
//
// Coordinates are in points with y growing downwards and the origin at the
// drawing's top-left corner. Edges are cubic Bezier curves: the first point,
// then three points per segment; where Graphviz ends an edge with an arrow
// head, the head runs from the last point to `arrowTip`.
#pragma once

#include <string>
#include <vector>

#include "graph/net_graph.h"

namespace quorvin::graph {

struct Point {
    double x = 0.0;
    double y = 0.0;
};

struct NodeBox {
    double x = 0.0;  // the centre
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
};

struct EdgePath {
    std::vector<Point> points;
    bool hasArrow = false;
    Point arrowTip;
    bool hasLabel = false;
    Point labelAt;  // the centre of the label
};

struct ClusterBox {
    double x = 0.0;  // the top-left corner
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    std::string label;
    // Where dot put the label (the centre): which side of the box it takes
    // depends on the rank direction, so a front end must not guess it.
    bool hasLabel = false;
    Point labelAt;
};

struct GraphLayout {
    double width = 0.0;
    double height = 0.0;
    std::vector<NodeBox> nodes;       // as NetGraph::nodes
    std::vector<EdgePath> edges;      // as NetGraph::edges
    std::vector<ClusterBox> clusters;  // as NetGraph::clusters
};

// Lays the graph out; false with Graphviz's message when it cannot.
bool LayOut(const NetGraph &graph, GraphLayout &layout, std::string &error);

}  // namespace quorvin::graph
