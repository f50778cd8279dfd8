#include "app/next_questions_list.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/explanation_html.h"

namespace {

constexpr int kLeastWidth = 320;
// The name column widens the panel for names up to this width; longer
// names are cut in the middle, their tips giving them whole.
constexpr int kWidestNames = 240;

// Colours a what-if by the way it would move the goal.
void MarkMove(QTreeWidgetItem *item, int column, float from, float to) {
    if (to > from) item->setForeground(column, QColor(0x1a, 0x7f, 0x37));
    if (to < from) item->setForeground(column, QColor(0xb3, 0x26, 0x1e));
}

QTreeWidgetItem *RowItem(const TNextQuestionRow &row, const TNextQuestions &next) {
    auto *item = new QTreeWidgetItem(
        {row.name, ValueText(row.score), ValueText(row.goalIfYes), ValueText(row.goalIfNo)});
    for (int column = 1; column < 4; ++column) item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    // The name column is narrow and long names are cut: the tip gives the
    // whole name and the question it stands for.
    item->setToolTip(0, row.question.isEmpty() ? row.name : row.name + ": " + row.question);
    MarkMove(item, 2, next.goalValue, row.goalIfYes);
    MarkMove(item, 3, next.goalValue, row.goalIfNo);
    if (row.name == next.asked) {
        QFont bold = item->font(0);
        bold.setBold(true);
        for (int column = 0; column < 4; ++column) item->setFont(column, bold);
    }
    return item;
}

}  // namespace

TNextQuestionsList::TNextQuestionsList(QWidget *parent) : QWidget(parent) {
    caption = new QLabel(this);
    caption->setWordWrap(true);
    list = new QTreeWidget(this);
    list->setHeaderLabels({"Question", "Score", "Goal if yes", "Goal if no"});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setFocusPolicy(Qt::NoFocus);
    list->setTextElideMode(Qt::ElideMiddle);  // names that share a prefix keep their ends
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(caption);
    layout->addWidget(list);
    setMinimumWidth(kLeastWidth);
    hide();
}

void TNextQuestionsList::Show(const TNextQuestions &next) {
    list->clear();
    if (next.goal.isEmpty()) {
        hide();
        return;
    }
    caption->setText(QString("Next questions for <b>%1</b> (current %2):")
                         .arg(next.goal.toHtmlEscaped(), ValueText(next.goalValue)));
    for (const TNextQuestionRow &row : next.rows) list->addTopLevelItem(RowItem(row, next));
    if (next.rows.empty()) list->addTopLevelItem(new QTreeWidgetItem({"(none)"}));
    for (int column = 1; column < 4; ++column) list->resizeColumnToContents(column);
    WidenForNames();
    show();
}

// The panel grows, never shrinks, so that the window does not change its
// width from one question to the next unless a longer name needs it.
void TNextQuestionsList::WidenForNames() {
    // The item view's public hint, which the tree view answers for its rows.
    const QAbstractItemView *view = list;
    int wanted = std::min(view->sizeHintForColumn(0), kWidestNames);
    for (int column = 1; column < 4; ++column) wanted += list->columnWidth(column);
    wanted += 2 * list->frameWidth() + list->verticalScrollBar()->sizeHint().width();
    if (wanted > minimumWidth()) setMinimumWidth(wanted);
}
