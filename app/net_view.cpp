#include "app/net_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <string>

#include "app/net_scene.h"

using namespace quorvin::graph;

namespace {

constexpr double kZoomStep = 1.25;
constexpr double kWheelNotch = 120.0;

// Where a large net's picture starts when nothing is investigated.
const CNode *FirstGoal(const NetGraph &graph) {
    for (const GraphNode &node : graph.nodes)
        if (node.goal) return node.node;
    return graph.nodes.front().node;
}

}  // namespace

TNetGraphicsView::TNetGraphicsView(QWidget *parent) : QGraphicsView(parent) {
    setDragMode(QGraphicsView::ScrollHandDrag);
    setRenderHint(QPainter::Antialiasing);
    setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
}

void TNetGraphicsView::Zoom(double factor) { scale(factor, factor); }

void TNetGraphicsView::Fit() {
    if (scene() != nullptr) fitInView(scene()->sceneRect(), Qt::KeepAspectRatio);
}

void TNetGraphicsView::wheelEvent(QWheelEvent *event) {
    const double notches = event->angleDelta().y() / kWheelNotch;
    if (notches == 0.0) return;
    Zoom(std::pow(kZoomStep, notches));
    event->accept();
}

TNetView::TNetView(QWidget *parent) : QWidget(parent) {
    scene = new TNetScene(this);
    view = new TNetGraphicsView(this);
    view->setScene(scene);
    // No mnemonics: the letters are taken by the menus and the window's buttons.
    bttZoomIn = new QPushButton("Zoom in", this);
    bttZoomOut = new QPushButton("Zoom out", this);
    bttFit = new QPushButton("Fit", this);
    bttFit->setToolTip("Show the whole picture");
    view->setToolTip("Wheel: zoom; drag: move the picture; click a node: how it got its value");
    lMessage = new QLabel(this);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : {bttZoomIn, bttZoomOut, bttFit}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addWidget(lMessage, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(buttons);
    layout->addWidget(view);
    connect(bttZoomIn, &QPushButton::clicked, this, [this] { view->Zoom(kZoomStep); });
    connect(bttZoomOut, &QPushButton::clicked, this, [this] { view->Zoom(1.0 / kZoomStep); });
    connect(bttFit, &QPushButton::clicked, view, &TNetGraphicsView::Fit);
    connect(scene, &TNetScene::NodeClicked, this, &TNetView::NodeClicked);
}

TNetView::~TNetView() = default;

void TNetView::ShowNet(const CInferenceNet &net, const CNode *centre) {
    whole = MakeNetGraph(net);
    neighbourhood = whole.nodes.size() > kWholeNetLimit;
    drawnCentre = nullptr;
    if (neighbourhood) {
        LayOutAround(centre != nullptr ? centre : FirstGoal(whole));
        return;
    }
    Draw(whole);
    scene->Mark(centre);
    lMessage->setText(QString("%1 nodes").arg(whole.nodes.size()));
    view->Fit();
}

void TNetView::Follow(const CNode *centre) {
    if (neighbourhood && centre != nullptr && centre != drawnCentre) {
        LayOutAround(centre);
        return;
    }
    RefreshValues(shown);
    scene->Recolour(shown);
    scene->Mark(centre);
}

void TNetView::LayOutAround(const CNode *centre) {
    drawnCentre = centre;
    RefreshValues(whole);
    Draw(Neighbourhood(whole, centre, kRadius, kNeighbourhoodLimit));
    scene->Mark(centre);
    lMessage->setText(QString("%1 of %2 nodes, around %3")
                          .arg(shown.nodes.size())
                          .arg(whole.nodes.size())
                          .arg(shown.nodes.empty() ? QString() : QString::fromStdString(shown.nodes.front().name)));
    view->centerOn(scene->NodeCentre(centre));
}

void TNetView::Draw(const NetGraph &graph) {
    shown = graph;
    GraphLayout layout;
    std::string error;
    if (!LayOut(shown, layout, error)) {
        scene->Clear();
        lMessage->setText(QString("Cannot lay out the net: %1").arg(QString::fromStdString(error)));
        return;
    }
    scene->Draw(shown, layout);
}
