// The lists of nodes in the consultation window and the result dialog: a
// grid filled with the rows the consultation gives (texts already formatted
// by the core), shown the way the user asked - values with the number of
// decimals chosen in the options, the node's description as the tool tip of
// its row, and columns as wide as their contents.
#pragma once

#include <QList>
#include <QString>
#include <functional>
#include <vector>

#include "ui/consultation_view.h"

class QTableWidget;

// A node's description by its name; empty when there is none.
using TNodeDescriber = std::function<QString(const QString &nodeName)>;

struct TGridLook {
    static constexpr int kAsWritten = -1;
    int nameColumn = -1;        // the column of the node's name; -1: none
    int firstValueColumn = -1;  // values from this column on; -1: none
    int decimals = kAsWritten;  // digits after the point, or as written
    TNodeDescriber describe;    // tool tips; may be empty
    QList<int> minimumWidths;   // per column: fitting never goes below
};

// A value as the grid shows it: `written` itself when it is no number or
// the decimals are kAsWritten, otherwise rounded to `decimals` digits.
QString ValueText(const QString &written, int decimals);

// Fills a grid with rows of texts, one row per entry, replacing its rows,
// and fits its columns to them, each at least its minimum width (the last
// keeps filling the width).
void FillGrid(QTableWidget *grid, const std::vector<CGridRow> &rows, const TGridLook &look = {});
