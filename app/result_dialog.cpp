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

constexpr int kValueColumnWidth = 190;

}  // namespace

void FillGrid(QTableWidget *grid, const std::vector<CGridRow> &rows) {
    grid->setRowCount(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QString text = c < static_cast<int>(rows[r].size()) ? ToQString(rows[r][static_cast<size_t>(c)])
                                                                     : QString();
            auto *cell = new QTableWidgetItem(text);
            cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid->setItem(static_cast<int>(r), c, cell);
        }
    }
}

TfrmConsResult::TfrmConsResult(QWidget *main) : QDialog(main) {
    setWindowTitle("Result of the consultation");
    setModal(true);
    sgResult = new QTableWidget(0, 4, this);
    sgResult->setHorizontalHeaderLabels({"Order", "Goal", "Aprior", "Aposterior"});
    sgResult->verticalHeader()->hide();
    sgResult->setColumnWidth(0, 40);
    sgResult->setColumnWidth(1, 110);
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

void TfrmConsResult::Execute(const std::vector<CGridRow> &rows) {
    FillGrid(sgResult, rows);
    exec();
}
