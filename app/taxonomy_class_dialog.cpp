#include "app/taxonomy_class_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <vector>

#include "app/abstract_question.h"
#include "app/window_helpers.h"

TfrmAskTax::TfrmAskTax(QWidget *main, QWidget *owner) : QDialog(owner != nullptr ? owner : main), mainWindow(main) {
    setWindowTitle("Taxonomy");
    setModal(true);
    // Its owner may be kept above other windows; so is it, above its owner.
    if (owner != nullptr && owner->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        setWindowFlag(Qt::WindowStaysOnTopHint);
    tvClasses = new QTreeWidget(this);
    tvClasses->setHeaderHidden(true);
    // Every class stays visible: the tree cannot be collapsed.
    tvClasses->setItemsExpandable(false);
    bttOK = new QPushButton("&OK", this);
    bttOK->setDefault(true);
    bttNone = new QPushButton("Select &None", this);
    bttNone->setAutoDefault(false);
    bttCancel = new QPushButton("&Cancel", this);
    bttCancel->setAutoDefault(false);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(bttOK);
    buttonRow->addWidget(bttNone);
    buttonRow->addWidget(bttCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Select Taxonomy Class", this));
    layout->addWidget(tvClasses);
    layout->addLayout(buttonRow);
    resize(320, 320);

    connect(bttOK, &QPushButton::clicked, this, [this] {
        accepted = true;
        accept();
    });
    connect(tvClasses, &QTreeWidget::itemDoubleClicked, bttOK, &QPushButton::click);
    connect(bttNone, &QPushButton::clicked, this, [this] {
        none = true;
        accepted = true;
        accept();
    });
    connect(bttCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAskTax::Fill(const CTaxonomyTree &tree) {
    tvClasses->clear();
    // The last item seen at each depth: the parent of the next deeper one.
    std::vector<QTreeWidgetItem *> path;
    for (const CTaxonomyTreeItem &entry : tree) {
        const size_t depth = static_cast<size_t>(entry.depth < 0 ? 0 : entry.depth);
        path.resize(std::min(depth, path.size()));
        QTreeWidgetItem *item = path.empty() ? new QTreeWidgetItem(tvClasses) : new QTreeWidgetItem(path.back());
        item->setText(0, ToQString(entry.name));
        path.push_back(item);
    }
    tvClasses->expandAll();
    if (tvClasses->topLevelItemCount() > 0) tvClasses->setCurrentItem(tvClasses->topLevelItem(0));
}

CTaxonomyClassAnswer TfrmAskTax::ShowModal(const CTaxonomyTree &tree, const CString &rejection) {
    Fill(tree);
    accepted = false;
    none = false;
    adjustSize();
    if (mainWindow != nullptr) move(CentredOver(this, mainWindow));
    tvClasses->setFocus();
    if (!rejection.IsEmpty())
        QTimer::singleShot(0, this, [this, rejection] { QMessageBox::warning(this, windowTitle(), ToQString(rejection)); });
    exec();

    CTaxonomyClassAnswer answer;
    answer.accepted = accepted;
    answer.none = none;
    if (accepted && !none && tvClasses->currentItem() != nullptr)
        answer.className = ToCString(tvClasses->currentItem()->text(0));
    return answer;
}
