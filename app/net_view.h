// TNetView: the consultation window's picture of the net, which follows the
// consultation live.
//
// The picture is laid out once (by Graphviz, through the core's graph layer)
// and then only recoloured as values change. A net of more than
// kWholeNetLimit nodes is shown as the neighbourhood of the investigated
// node instead (kRadius steps, at most kNeighbourhoodLimit nodes), laid out
// again only when the investigated node changes, so that a large net never
// stalls the consultation. The wheel and the buttons zoom, dragging pans,
// "Fit" shows the whole picture; a click on a node is reported.
#pragma once

#include <QGraphicsView>
#include <QWidget>

#include "graph/graph_layout.h"
#include "graph/net_graph.h"
#include "net/node.h"  // complete for the signal's argument

class CInferenceNet;
class QLabel;
class QPushButton;
class TNetScene;

// The graphics view with zoom by the wheel and panning by dragging.
class TNetGraphicsView : public QGraphicsView {
    Q_OBJECT
public:
    explicit TNetGraphicsView(QWidget *parent);
    void Zoom(double factor);
    void Fit();

protected:
    void wheelEvent(QWheelEvent *event) override;
};

class TNetView : public QWidget {
    Q_OBJECT
public:
    static constexpr size_t kWholeNetLimit = 300;
    static constexpr int kRadius = 2;
    static constexpr size_t kNeighbourhoodLimit = 150;

    explicit TNetView(QWidget *parent);
    ~TNetView() override;

    // Shows this net; its nodes must outlive the view or the next ShowNet.
    void ShowNet(const CInferenceNet &net, const CNode *centre);
    // The values changed; `centre` is the node under investigation (null
    // when none), which a neighbourhood follows.
    void Follow(const CNode *centre);
    bool ShowsNeighbourhood() const { return neighbourhood; }

    TNetScene *scene;
    TNetGraphicsView *view;
    QPushButton *bttZoomIn, *bttZoomOut, *bttFit;
    QLabel *lMessage;  // what the picture shows, or why there is none

signals:
    void NodeClicked(const CNode *node);

private:
    void LayOutAround(const CNode *centre);
    void Draw(const quorvin::graph::NetGraph &graph);

    quorvin::graph::NetGraph whole;
    quorvin::graph::NetGraph shown;  // the whole net, or the neighbourhood drawn
    bool neighbourhood = false;
    const CNode *drawnCentre = nullptr;
};
