#include "app/net_scene.h"

#include <QFont>
#include <QGraphicsEllipseItem>
#include <QGraphicsPathItem>
#include <QGraphicsSceneMouseEvent>
#include <QGraphicsSimpleTextItem>
#include <QPen>
#include <cmath>

#include "graph/value_colour.h"

using namespace quorvin::graph;

namespace {

// The layout is computed for Helvetica at 10 points on nodes and 8 on edge
// labels; scene units are the layout's points.
constexpr int kNodeFontPixels = 10;
constexpr int kLabelFontPixels = 8;
constexpr double kGoalPen = 2.5;
constexpr double kPeripheryGap = 3.0;
constexpr double kArrowHalfWidth = 3.5;
const QColor kClusterFill(0xf4, 0xf4, 0xf8);
const QColor kClusterLine(0x9a, 0x9a, 0xb0);
const QColor kRingColour(0xff, 0x8c, 0x00);
constexpr double kRingPen = 3.0;
constexpr double kRingGap = 4.0;

QColor ToQColor(Rgb colour) { return QColor(colour.r, colour.g, colour.b); }

QFont Font(int pixels, bool bold = false) {
    QFont font("Helvetica");
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

QString ValueText(float prior, float current) {
    return QString::asprintf("%.3f \u2192 %.3f", static_cast<double>(prior), static_cast<double>(current));
}

// Puts a text's centre at `centre`.
void Centre(QGraphicsSimpleTextItem *text, QPointF centre) {
    const QRectF bounds = text->boundingRect();
    text->setPos(centre - QPointF(bounds.width() / 2, bounds.height() / 2));
}

QPainterPath Curve(const std::vector<Point> &points) {
    QPainterPath path;
    if (points.empty()) return path;
    path.moveTo(points[0].x, points[0].y);
    for (size_t i = 1; i + 2 < points.size(); i += 3)
        path.cubicTo(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y, points[i + 2].x, points[i + 2].y);
    return path;
}

// The arrow head from the end of the curve to the tip.
QPolygonF ArrowHead(Point from, Point tip) {
    const double dx = tip.x - from.x, dy = tip.y - from.y;
    const double length = std::hypot(dx, dy);
    if (length == 0.0) return {};
    const double nx = -dy / length * kArrowHalfWidth, ny = dx / length * kArrowHalfWidth;
    return QPolygonF({QPointF(tip.x, tip.y), QPointF(from.x + nx, from.y + ny), QPointF(from.x - nx, from.y - ny)});
}

}  // namespace

TNetScene::TNetScene(QObject *parent) : QGraphicsScene(parent) {}

void TNetScene::Clear() {
    nodes.clear();
    ring = nullptr;
    marked = nullptr;
    clear();
}

void TNetScene::Mark(const CNode *node) {
    const int n = IndexOf(node);
    marked = n < 0 ? nullptr : node;
    if (ring == nullptr) {
        ring = addPath(QPainterPath(), QPen(kRingColour, kRingPen));
        ring->setZValue(1);
    }
    QPainterPath path;
    if (n >= 0) {
        const QRectF around = nodes[static_cast<size_t>(n)].shape->sceneBoundingRect().adjusted(-kRingGap, -kRingGap,
                                                                                                 kRingGap, kRingGap);
        path.addRoundedRect(around, 8, 8);
    }
    ring->setPath(path);
}

void TNetScene::Draw(const NetGraph &graph, const GraphLayout &layout) {
    Clear();
    setSceneRect(0, 0, layout.width, layout.height);
    for (const ClusterBox &box : layout.clusters) DrawCluster(box);
    for (size_t e = 0; e < graph.edges.size() && e < layout.edges.size(); ++e) DrawEdge(graph.edges[e], layout.edges[e]);
    for (size_t n = 0; n < graph.nodes.size() && n < layout.nodes.size(); ++n) DrawNode(graph.nodes[n], layout.nodes[n]);
}

void TNetScene::Recolour(const NetGraph &graph) {
    for (size_t n = 0; n < graph.nodes.size() && n < nodes.size(); ++n) Paint(nodes[n], graph.nodes[n]);
}

void TNetScene::DrawCluster(const ClusterBox &box) {
    auto *rect = addRect(box.x, box.y, box.width, box.height, QPen(kClusterLine), QBrush(kClusterFill));
    rect->setZValue(-2);
    auto *label = new QGraphicsSimpleTextItem(QString::fromStdString(box.label), rect);
    label->setFont(Font(kNodeFontPixels, true));
    Centre(label, box.hasLabel ? QPointF(box.labelAt.x, box.labelAt.y)
                               : QPointF(box.x + box.width / 2, box.y + kNodeFontPixels));
}

void TNetScene::DrawEdge(const GraphEdge &edge, const EdgePath &path) {
    QPen pen(Qt::black, 1.0);
    if (edge.kind != EdgeKind::rule) pen.setStyle(Qt::DashLine);
    auto *curve = addPath(Curve(path.points), pen);
    curve->setZValue(-1);
    if (path.hasArrow && !path.points.empty()) {
        auto *head = addPolygon(ArrowHead(path.points.back(), path.arrowTip), QPen(Qt::black), QBrush(Qt::black));
        head->setZValue(-1);
    }
    if (!path.hasLabel || edge.label.empty()) return;
    auto *label = addSimpleText(QString::fromStdString(edge.label), Font(kLabelFontPixels));
    label->setZValue(-1);
    Centre(label, QPointF(path.labelAt.x, path.labelAt.y));
}

void TNetScene::DrawNode(const GraphNode &node, const NodeBox &box) {
    const QRectF rect(box.x - box.width / 2, box.y - box.height / 2, box.width, box.height);
    QAbstractGraphicsShapeItem *shape = nullptr;
    QPainterPath outline;
    if (node.kind == "bayesian") {
        outline.addRoundedRect(rect, 6, 6);
        shape = addPath(outline);
    } else {
        shape = addEllipse(rect);
    }
    shape->setPen(QPen(Qt::black, node.goal ? kGoalPen : 1.0));
    // An askable node has a second border inside the first, as dot draws it.
    if (node.askable) {
        const QRectF inner = rect.adjusted(kPeripheryGap, kPeripheryGap, -kPeripheryGap, -kPeripheryGap);
        QPainterPath periphery;
        if (node.kind == "bayesian")
            periphery.addRoundedRect(inner, 4, 4);
        else
            periphery.addEllipse(inner);
        new QGraphicsPathItem(periphery, shape);
    }
    QString title = QString::fromStdString(node.name);
    if (node.kind != "bayesian") title += " (" + QString::fromStdString(node.kind) + ")";
    auto *name = new QGraphicsSimpleTextItem(title, shape);
    name->setFont(Font(kNodeFontPixels, node.goal));
    Centre(name, QPointF(box.x, box.y - kNodeFontPixels * 0.6));
    auto *value = new QGraphicsSimpleTextItem(shape);
    value->setFont(Font(kNodeFontPixels));
    nodes.push_back({node.node, shape, name, value});
    Paint(nodes.back(), node);
    Centre(value, QPointF(box.x, box.y + kNodeFontPixels * 0.6));
}

void TNetScene::Paint(DrawnNode &drawn, const GraphNode &node) {
    const Rgb fill = ValueColour(node.current);
    drawn.shape->setBrush(ToQColor(fill));
    const QBrush text(IsDark(fill) ? Qt::white : Qt::black);
    drawn.name->setBrush(text);
    drawn.value->setBrush(text);
    const QPointF centre = drawn.value->mapToScene(drawn.value->boundingRect().center());
    drawn.value->setText(ValueText(node.prior, node.current));
    if (drawn.value->boundingRect().width() > 0) Centre(drawn.value, centre);
}

int TNetScene::IndexOf(const CNode *node) const {
    for (size_t n = 0; n < nodes.size(); ++n)
        if (nodes[n].node == node) return static_cast<int>(n);
    return -1;
}

QPointF TNetScene::NodeCentre(const CNode *node) const {
    const int n = IndexOf(node);
    return n < 0 ? QPointF() : nodes[static_cast<size_t>(n)].shape->sceneBoundingRect().center();
}

QColor TNetScene::NodeFill(const CNode *node) const {
    const int n = IndexOf(node);
    return n < 0 ? QColor() : nodes[static_cast<size_t>(n)].shape->brush().color();
}

QString TNetScene::NodeValueText(const CNode *node) const {
    const int n = IndexOf(node);
    return n < 0 ? QString() : nodes[static_cast<size_t>(n)].value->text();
}

void TNetScene::mousePressEvent(QGraphicsSceneMouseEvent *event) {
    for (const DrawnNode &drawn : nodes) {
        if (!drawn.shape->contains(drawn.shape->mapFromScene(event->scenePos()))) continue;
        emit NodeClicked(drawn.node);
        event->accept();
        return;
    }
    // Elsewhere the press is left to the view, which pans the picture.
    QGraphicsScene::mousePressEvent(event);
}
