#include "app/result_dialog.h"

#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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
    exec();
}
