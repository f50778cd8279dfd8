#include "app/choice_question.h"

#include <QPushButton>
#include <QVBoxLayout>

TfrmChoice::TfrmChoice(QWidget *main) : TQuestionWindow(main, "Question - choice...", "Select your choice...") {
    lbChoice = new QListWidget(this);
    lbChoice->setObjectName("lbChoice");
    lbChoice->setSelectionMode(QAbstractItemView::SingleSelection);
    // The chosen option looks chosen wherever the focus is, and a Ctrl+click
    // cannot leave the highlighted row unchosen: what Enter accepts is
    // always the row that is shown selected.
    QPalette look = lbChoice->palette();
    look.setColor(QPalette::Inactive, QPalette::Highlight, look.color(QPalette::Active, QPalette::Highlight));
    look.setColor(QPalette::Inactive, QPalette::HighlightedText,
                  look.color(QPalette::Active, QPalette::HighlightedText));
    lbChoice->setPalette(look);
    connect(lbChoice, &QListWidget::itemSelectionChanged, this, [this] {
        if (lbChoice->selectedItems().isEmpty() && lbChoice->currentItem() != nullptr)
            lbChoice->currentItem()->setSelected(true);
    });
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
        lbChoice->setCurrentRow(-1);
        lbChoice->clearSelection();
        return;
    }
    lbChoice->setCurrentRow(position);
}

int32_t TfrmChoice::Selection() const {
    const QList<QListWidgetItem *> selected = lbChoice->selectedItems();
    if (selected.isEmpty()) return -1;
    return lbChoice->row(selected.first());
}
