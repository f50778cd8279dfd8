// TKbOutlinePane: the outline beside a knowledge base's text - its goals,
// its other nodes and its taxonomies with their classes - from the symbol
// index of the last check.
//
// Activating an entry asks to go to its declaration; the entry of the
// declaration that holds the caret is kept selected, so the outline
// follows the caret.
#pragma once

#include <QTreeWidget>

class CSymbolIndex;

class TKbOutlinePane : public QTreeWidget {
    Q_OBJECT
public:
    explicit TKbOutlinePane(QWidget *parent = nullptr);

    // Rebuilds the outline, keeping which groups are open.
    void SetIndex(const CSymbolIndex &index);
    // Selects the entry whose declaration spans the line (from 1); none
    // when no declaration spans it.
    void FollowLine(int line);

signals:
    // A line and byte column of the compiler's.
    void GoToRequested(int line, int column);

private:
    QTreeWidgetItem *Group(const QString &caption);
    static QTreeWidgetItem *Entry(QTreeWidgetItem *parent, const QString &name, int line, int column, int lastLine);
};
