// TNetScene: a net's picture as Qt graphics items, laid out by the core's
// graph layer (Graphviz's dot).
//
// Bayesian nodes are rounded boxes and logical nodes ellipses, labelled with
// the name (and the logical kind) over "prior -> current"; each is filled
// with the colour of its current value on the one scale of the net's
// pictures (graph/value_colour.h). A goal has a thick border, an askable
// node a double one. Rules are solid edges labelled with their two
// probabilities, links dashed; the taxonomies' classes are labelled
// rectangles behind their nodes.
//
// `Recolour` follows a consultation: it re-reads the values and changes
// fills and value texts only, never the layout, so it is cheap enough for
// every step. The node under investigation is ringed in orange (`Mark`). A
// click on a node is reported with the net's node.
#pragma once

#include <QGraphicsScene>
#include <vector>

#include "graph/graph_layout.h"
#include "graph/net_graph.h"
#include "net/node.h"  // complete for the signal's argument

class QAbstractGraphicsShapeItem;
class QGraphicsPathItem;
class QGraphicsSimpleTextItem;

class TNetScene : public QGraphicsScene {
    Q_OBJECT
public:
    explicit TNetScene(QObject *parent);

    // Replaces the picture; the graph's nodes must outlive it.
    void Draw(const quorvin::graph::NetGraph &graph, const quorvin::graph::GraphLayout &layout);
    // Takes the picture away.
    void Clear();
    // The graph's values as they are now (after RefreshValues).
    void Recolour(const quorvin::graph::NetGraph &graph);
    // Rings this node; null, or a node not drawn, rings none.
    void Mark(const CNode *node);
    const CNode *Marked() const { return marked; }

    // For the window and its tests: where a node is drawn and how it is filled.
    int NodeCount() const { return static_cast<int>(nodes.size()); }
    bool Shows(const CNode *node) const { return IndexOf(node) >= 0; }
    QPointF NodeCentre(const CNode *node) const;
    QColor NodeFill(const CNode *node) const;
    QString NodeValueText(const CNode *node) const;

signals:
    void NodeClicked(const CNode *node);

protected:
    void mousePressEvent(QGraphicsSceneMouseEvent *event) override;

private:
    struct DrawnNode {
        const CNode *node;
        QAbstractGraphicsShapeItem *shape;
        QGraphicsSimpleTextItem *name;
        QGraphicsSimpleTextItem *value;
    };

    int IndexOf(const CNode *node) const;
    void DrawCluster(const quorvin::graph::ClusterBox &box);
    void DrawEdge(const quorvin::graph::GraphEdge &edge, const quorvin::graph::EdgePath &path);
    void DrawNode(const quorvin::graph::GraphNode &node, const quorvin::graph::NodeBox &box);
    void Paint(DrawnNode &drawn, const quorvin::graph::GraphNode &node);

    std::vector<DrawnNode> nodes;
    QGraphicsPathItem *ring = nullptr;
    const CNode *marked = nullptr;
};
