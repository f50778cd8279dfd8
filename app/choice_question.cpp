#include "app/choice_question.h"

#include <QPushButton>
#include <QVBoxLayout>

TfrmChoice::TfrmChoice(QWidget *main) : TQuestionWindow(main, "Question - choice...", "Select your choice...") {
    lbChoice = new QListWidget(this);
    lbChoice->setObjectName("lbChoice");
    lbChoice->setSelectionMode(QAbstractItemView::SingleSelection);
    inputs->addWidget(lbChoice);
    connect(lbChoice, &QListWidget::itemDoubleClicked, this, [this] { Accept(); });

    bttAccept = AddButton("&Accept", QString(), true);
    connect(bttAccept, &QPushButton::clicked, this, [this] { Accept(); });
    bttDontKnow = AddButton("Don't know", "I do not know");
    connect(bttDontKnow, &QPushButton::clicked, this, [this] { Hide(); });
}

void TfrmChoice::SetOptions(const CStringVector &options) {
    lbChoice->clear();
    for (int32_t i = 0; i < options.Count(); ++i) lbChoice->addItem(ToQString(options.At(i)));
}

void TfrmChoice::Select(int32_t position) {
    if (position < 0 || position >= lbChoice->count()) {
        lbChoice->clearSelection();
        lbChoice->setCurrentRow(-1);
        return;
    }
    lbChoice->setCurrentRow(position);
}

int32_t TfrmChoice::Selection() const {
    const QList<QListWidgetItem *> selected = lbChoice->selectedItems();
    if (selected.isEmpty()) return -1;
    return lbChoice->row(selected.first());
}
