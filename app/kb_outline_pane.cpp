#include "app/kb_outline_pane.h"

#include <map>

#include "language/symbol_index.h"

namespace {

// What an entry keeps: its place, and the last line of its declaration.
constexpr int kLineRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;
constexpr int kLastLineRole = Qt::UserRole + 2;

}  // namespace

TKbOutlinePane::TKbOutlinePane(QWidget *parent) : QTreeWidget(parent) {
    setObjectName("outline");
    setHeaderHidden(true);
    setColumnCount(1);
    // Names often share long prefixes (plant_area_unit_...): a narrow
    // outline cuts them in the middle, so that their ends tell them apart.
    setTextElideMode(Qt::ElideMiddle);
    connect(this, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem *item) {
        if (item->data(0, kLineRole).isValid())
            emit GoToRequested(item->data(0, kLineRole).toInt(), item->data(0, kColumnRole).toInt());
    });
    connect(this, &QTreeWidget::itemClicked, this, &QTreeWidget::itemActivated);
}

QTreeWidgetItem *TKbOutlinePane::Group(const QString &caption) {
    const auto found = findItems(caption, Qt::MatchExactly);
    if (!found.isEmpty()) return found.front();
    auto *group = new QTreeWidgetItem(this, {caption});
    group->setExpanded(true);
    return group;
}

QTreeWidgetItem *TKbOutlinePane::Entry(QTreeWidgetItem *parent, const QString &name, int line, int column,
                                       int lastLine) {
    auto *entry = new QTreeWidgetItem(parent, {name});
    entry->setToolTip(0, name);
    entry->setData(0, kLineRole, line);
    entry->setData(0, kColumnRole, column);
    entry->setData(0, kLastLineRole, lastLine);
    return entry;
}

void TKbOutlinePane::SetIndex(const CSymbolIndex &index) {
    // The groups stay, so that one the user closed stays closed.
    QTreeWidgetItem *goals = Group("Goals");
    QTreeWidgetItem *nodes = Group("Nodes");
    QTreeWidgetItem *taxonomies = Group("Taxonomies");
    for (QTreeWidgetItem *group : {goals, nodes, taxonomies}) qDeleteAll(group->takeChildren());
    for (const CNodeSymbol &node : index.Nodes())
        Entry(node.goal ? goals : nodes, QString::fromStdString(node.name), node.place.line, node.place.column,
              node.end.line);
    for (const CTaxonomySymbol &taxonomy : index.Taxonomies()) {
        std::map<std::string, QTreeWidgetItem *> classes;
        for (const CClassSymbol &cls : taxonomy.classes) {
            const auto parent = classes.find(cls.parent);
            QTreeWidgetItem *under = parent == classes.end() ? taxonomies : parent->second;
            const int lastLine = cls.parent.empty() ? taxonomy.end.line : cls.place.line;
            classes[cls.name] = Entry(under, QString::fromStdString(cls.name), cls.place.line, cls.place.column, lastLine);
        }
    }
}

void TKbOutlinePane::FollowLine(int line) {
    // The last entry that spans the line is the innermost: a class comes
    // after its taxonomy, whose declaration spans the class's line too.
    QTreeWidgetItem *found = nullptr;
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it) {
        const QVariant first = (*it)->data(0, kLineRole);
        if (first.isValid() && line >= first.toInt() && line <= (*it)->data(0, kLastLineRole).toInt()) found = *it;
    }
    // Outside every declaration nothing is selected, rather than the group
    // that took the selection when its entries were replaced.
    if (found != currentItem()) setCurrentItem(found);
}
