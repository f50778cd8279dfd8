#include "app/taxonomy_list_dialog.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/abstract_question.h"
#include "app/window_helpers.h"

TfrmTaxList::TfrmTaxList(QWidget *main) : QDialog(main), mainWindow(main) {
    setWindowTitle("Selection of Taxonomies");
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setModal(false);

    lvTaxonomies = new QTreeWidget(this);
    lvTaxonomies->setColumnCount(2);
    lvTaxonomies->setHeaderLabels({"Taxonomy", "Selected"});
    lvTaxonomies->setRootIsDecorated(false);
    lvTaxonomies->header()->setSectionResizeMode(QHeaderView::Stretch);
    bttSelect = new QPushButton("&Select", this);
    bttSelect->setAutoDefault(false);
    bttOK = new QPushButton("&OK", this);
    bttOK->setDefault(true);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(bttSelect);
    buttonRow->addWidget(bttOK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Select Taxonomy", this));
    layout->addWidget(lvTaxonomies);
    layout->addLayout(buttonRow);
    resize(360, 260);

    connect(lvTaxonomies, &QTreeWidget::itemChanged, this, &TfrmTaxList::ItemChanged);
    connect(lvTaxonomies, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        Report([](ITaxonomyListEvents &e, int32_t row) { e.ChooseClass(row); },
               lvTaxonomies->indexOfTopLevelItem(item));
    });
    connect(bttSelect, &QPushButton::clicked, this, [this] {
        Report([](ITaxonomyListEvents &e, int32_t row) { e.ChooseClass(row); },
               lvTaxonomies->indexOfTopLevelItem(lvTaxonomies->currentItem()));
    });
    connect(bttOK, &QPushButton::clicked, this,
            [this] { Report([](ITaxonomyListEvents &e, int32_t) { e.Ok(); }, 0); });
}

TfrmTaxList::~TfrmTaxList() {
    if (waitLoop != nullptr) waitLoop->quit();
}

void TfrmTaxList::ShowRows(const std::vector<CTaxonomyListRow> &rows) {
    showingRows = true;
    while (lvTaxonomies->topLevelItemCount() > static_cast<int>(rows.size()))
        delete lvTaxonomies->takeTopLevelItem(lvTaxonomies->topLevelItemCount() - 1);
    for (size_t i = 0; i < rows.size(); ++i) {
        QTreeWidgetItem *item = lvTaxonomies->topLevelItem(static_cast<int>(i));
        if (item == nullptr) {
            item = new QTreeWidgetItem(lvTaxonomies);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        }
        const CTaxonomyListRow &row = rows[i];
        item->setText(0, ToQString(row.taxonomy));
        item->setText(1, row.hasSelectedCell ? ToQString(row.selected) : QString());
        item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
    }
    showingRows = false;
}

void TfrmTaxList::SetCurrentRow(int32_t row) {
    if (QTreeWidgetItem *item = lvTaxonomies->topLevelItem(row)) lvTaxonomies->setCurrentItem(item);
}

void TfrmTaxList::ShowAndWait(ITaxonomyListEvents &listEvents) {
    events = &listEvents;
    if (mainWindow != nullptr) move(CentredOver(this, mainWindow));
    QEventLoop loop;
    waitLoop = &loop;
    show();
    raise();
    activateWindow();
    lvTaxonomies->setFocus();
    if (isVisible()) loop.exec();
    waitLoop = nullptr;
    events = nullptr;
}

void TfrmTaxList::Hide() {
    hide();
    if (waitLoop != nullptr) waitLoop->quit();
}

void TfrmTaxList::reject() { Report([](ITaxonomyListEvents &e, int32_t) { e.Close(); }, 0); }

void TfrmTaxList::ItemChanged(QTreeWidgetItem *item, int column) {
    if (showingRows || column != 0) return;
    const int32_t row = lvTaxonomies->indexOfTopLevelItem(item);
    if (item->checkState(0) == Qt::Checked)
        Report([](ITaxonomyListEvents &e, int32_t r) { e.Tick(r); }, row);
    else
        Report([](ITaxonomyListEvents &e, int32_t r) { e.Untick(r); }, row);
}

void TfrmTaxList::Report(void (*action)(ITaxonomyListEvents &, int32_t), int32_t row) {
    QTimer::singleShot(0, this, [this, action, row] {
        // The question may have ended (an abort) before the event arrives.
        if (events != nullptr && waitLoop != nullptr) action(*events, row);
    });
}
