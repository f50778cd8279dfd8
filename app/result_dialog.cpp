#include "app/result_dialog.h"

#include <algorithm>

#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/abstract_question.h"
#include "app/value_bar_delegate.h"

namespace {

constexpr int kOrderColumnWidth = 40;
constexpr int kGoalColumnWidth = 110;
// Room for a value and its bar.
constexpr int kValueColumnWidth = 190;

}  // namespace

TfrmConsResult::TfrmConsResult(QWidget *main) : QDialog(main) {
    setWindowTitle("Result of the consultation");
    setModal(true);
    sgResult = new QTableWidget(0, 4, this);
    sgResult->setHorizontalHeaderLabels({"Order", "Goal", "Aprior", "Aposterior"});
    sgResult->verticalHeader()->hide();
    sgResult->setColumnWidth(0, kOrderColumnWidth);
    sgResult->setColumnWidth(1, kGoalColumnWidth);
    sgResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    priorBars = new TValueBarDelegate(QColor(0x9e, 0x9e, 0x9e), this);
    posteriorBars = new TValueBarDelegate(QColor(0x2f, 0x6f, 0xb8), this);
    sgResult->setItemDelegateForColumn(2, priorBars);
    sgResult->setItemDelegateForColumn(3, posteriorBars);
    sgResult->setColumnWidth(2, kValueColumnWidth);
    sgResult->horizontalHeader()->setStretchLastSection(true);
    bttOK = new QPushButton("OK", this);
    bttOK->setDefault(true);
    connect(bttOK, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(bttOK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Consulted OK", this));
    layout->addWidget(new QLabel("Ordered goal hypotheses:", this));
    layout->addWidget(sgResult);
    layout->addLayout(buttonRow);
    resize(600, 300);
}

void TfrmConsResult::ShowRows(const std::vector<CGridRow> &rows, int decimals, const TNodeDescriber &describe) {
    FillGrid(sgResult, rows, TGridLook{1, 2, decimals, describe, {kOrderColumnWidth, kGoalColumnWidth, kValueColumnWidth}});
}

void TfrmConsResult::Execute(const std::vector<CGridRow> &rows, int decimals, const TNodeDescriber &describe) {
    ShowRows(rows, decimals, describe);
    GrowToGrid();
    exec();
}

void TfrmConsResult::GrowToGrid() {
    QHeaderView *columns = sgResult->horizontalHeader();
    const int last = sgResult->columnCount() - 1;
    int gridWidth = 2 * sgResult->frameWidth() + sgResult->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < last; ++c) gridWidth += sgResult->columnWidth(c);
    // The last column stretches: what its values and bars need.
    const QAbstractItemView *view = sgResult;  // the table's own is not public
    gridWidth += std::max(kValueColumnWidth, view->sizeHintForColumn(last));
    const int gridHeight = 2 * sgResult->frameWidth() + columns->sizeHint().height() +
                           sgResult->verticalHeader()->length();
    // The labels, the button row and the margins around the grid.
    const QSize around = sizeHint() - sgResult->sizeHint();
    QSize wanted = (QSize(gridWidth, gridHeight) + around).expandedTo(size());
    if (const QScreen *where = screen()) wanted = wanted.boundedTo(where->availableGeometry().size() * 0.9);
    resize(wanted.expandedTo(size()));
}
