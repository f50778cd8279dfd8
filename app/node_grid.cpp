#include "app/node_grid.h"

#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "app/abstract_question.h"

QString ValueText(const QString &written, int decimals) {
    if (decimals < 0) return written;
    bool number = false;
    const double value = written.trimmed().toDouble(&number);
    return number ? QString::number(value, 'f', decimals) : written;
}

void FillGrid(QTableWidget *grid, const std::vector<CGridRow> &rows, const TGridLook &look) {
    grid->setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        const CGridRow &row = rows[r];
        const auto cellText = [&row](int c) {
            return c >= 0 && c < static_cast<int>(row.size()) ? ToQString(row[static_cast<size_t>(c)]) : QString();
        };
        const QString name = cellText(look.nameColumn);
        const QString tip = look.describe && !name.isEmpty() ? look.describe(name) : QString();
        for (int c = 0; c < grid->columnCount(); ++c) {
            const bool value = look.firstValueColumn >= 0 && c >= look.firstValueColumn;
            auto *cell = new QTableWidgetItem(value ? ValueText(cellText(c), look.decimals) : cellText(c));
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            if (!tip.isEmpty()) cell->setToolTip(tip);
            grid->setItem(static_cast<int>(r), c, cell);
        }
    }
    // The last column, when it stretches, takes the width that is left.
    const bool lastStretches = grid->horizontalHeader()->stretchLastSection();
    for (int c = 0; c < grid->columnCount() - (lastStretches ? 1 : 0); ++c) grid->resizeColumnToContents(c);
    for (int c = 0; c < std::min(grid->columnCount(), static_cast<int>(look.minimumWidths.size())); ++c)
        if (grid->columnWidth(c) < look.minimumWidths[c]) grid->setColumnWidth(c, look.minimumWidths[c]);
}
