#include "app/consult_explanations.h"

#include <QAction>
#include <QCheckBox>
#include <QSplitter>
#include <QTableWidget>

#include "app/abstract_question.h"
#include "app/child_host.h"
#include "app/explanation_html.h"
#include "app/explanation_pane.h"
#include "app/net_view.h"
#include "app/result_dialog.h"
#include "app/window_helpers.h"
#include "consult/consultation_driver.h"
#include "consult/inf_control.h"
#include "explain/how.h"
#include "explain/next_questions.h"
#include "explain/why.h"
#include "language/help_builder.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "retrieval/table.h"

using namespace quorvin::explain;

TConsultExplanations::TConsultExplanations(IChildHost &childHost, QWidget *parentWindow, QSplitter *splitter)
    : QObject(parentWindow), host(childHost), window(parentWindow), detailSplitter(splitter) {
    pane = new TExplanationPane(window);
    detailSplitter->addWidget(pane);
    nextQuestionsBox = new QCheckBox("Next &questions", window);
    nextQuestionsBox->setToolTip("Show the next questions of the goal beside each question");
    nextQuestionsBox->setChecked(true);
    // Ticked, the list comes with the next question.
    connect(nextQuestionsBox, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) host.ShowNextQuestions({});
    });
    netViewAction = MakeAction(window, "Net &view", "Show the net, coloured by its values as the consultation goes on");
    netViewAction->setCheckable(true);
    connect(netViewAction, &QAction::toggled, this, &TConsultExplanations::ShowNetView);
}

void TConsultExplanations::WatchLists(std::initializer_list<QTableWidget *> watched) {
    for (QTableWidget *list : watched) {
        lists.push_back(list);
        connect(list, &QTableWidget::currentCellChanged, this, [this, list](int row) { ListPicked(list, row); });
    }
}

void TConsultExplanations::SetDriver(CConsultationDriver *consultationDriver) {
    driver = consultationDriver;
    driver->SetInvestigationListener([this](CInferenceNet &net, CNode &node) { Follow(net, node); });
    if (netView != nullptr && !netView->isHidden()) ShowNetView(true);
}

// What the window passes on

void TConsultExplanations::FillList(QTableWidget *list, const std::vector<CGridRow> &rows, const TGridLook &look) {
    // The rows change under a kept current cell; that is no pick of the user.
    movingCurrentRow = true;
    FillGrid(list, rows, look);
    movingCurrentRow = false;
    SelectExplained(list);
}

void TConsultExplanations::ValuesChanged() {
    RefreshHow();
    RefreshNetView();
}

void TConsultExplanations::InvestigationEnded() {
    investigated = nullptr;
    pane->SetWhy(QString());
    host.ShowNextQuestions({});
    ValuesChanged();
}

void TConsultExplanations::Follow(CInferenceNet &net, CNode &node) {
    investigated = &node;
    // A batch answers from its table, case after case: nobody reads the
    // accounts meanwhile, and drawing them (the next questions' what-ifs
    // above all) at every node of every case would slow the batch down.
    // They come back when it ends.
    if (driver->Control().Table() != nullptr && driver->Control().Table()->batchRunning) return;
    pane->SetWhy(WhyHtml(ExplainWhy(net)));
    ValuesChanged();
    if (nextQuestionsBox->isChecked()) RefreshNextQuestions(net);
}

// The How of a picked node

void TConsultExplanations::ListPicked(QTableWidget *list, int row) {
    if (movingCurrentRow || row < 0 || list->item(row, 0) == nullptr || list->item(row, 0)->text().isEmpty()) return;
    Explain(list->item(row, 0)->text());
}

void TConsultExplanations::Explain(const QString &name) {
    explainedNode = name;
    RefreshHow();
    pane->RevealHow();
    for (QTableWidget *list : lists) SelectExplained(list);
}

void TConsultExplanations::SelectExplained(QTableWidget *list) {
    // The lists re-sort as values change: the row that stays selected must
    // be the explained node's, wherever it went, or none.
    int row = list->rowCount() - 1;
    while (row >= 0 && (explainedNode.isEmpty() || list->item(row, 0) == nullptr ||
                        list->item(row, 0)->text() != explainedNode))
        --row;
    if (row == list->currentRow()) return;
    movingCurrentRow = true;
    list->setCurrentCell(row, row < 0 ? -1 : 0);
    movingCurrentRow = false;
}

void TConsultExplanations::RefreshHow() {
    if (driver == nullptr || explainedNode.isEmpty() || driver->Control().Net() == nullptr) return;
    const CNode *node = driver->Control().Net()->FindNode(ToCString(explainedNode));
    if (node == nullptr) return;
    pane->SetHow(HowHtml(ExplainHow(*node, driver->Control().Table())));
}

// Next questions

void TConsultExplanations::RefreshNextQuestions(CInferenceNet &net) {
    if (net.callStack.Count() == 0) return;
    const CNode *goal = net.callStack.At(0);
    TNextQuestions next{ToQString(goal->name), goal->current, ToQString(net.callStack.Top()->name), {}};
    for (const NextQuestion &question : NextQuestions(net))
        next.rows.push_back({ToQString(question.node->name), ToQString(question.node->description), question.score,
                             question.goalIfYes, question.goalIfNo});
    host.ShowNextQuestions(next);
}

// The net view

void TConsultExplanations::ShowNetView(bool shown) {
    if (netView == nullptr) {
        if (!shown) return;
        netView = new TNetView(window);
        detailSplitter->addWidget(netView);
        connect(netView, &TNetView::NodeClicked, this, &TConsultExplanations::NetNodeClicked);
    }
    netView->setVisible(shown);
    if (shown && driver != nullptr && driver->Control().Net() != nullptr)
        netView->ShowNet(*driver->Control().Net(), investigated);
}

void TConsultExplanations::RefreshNetView() {
    if (netView != nullptr && !netView->isHidden()) netView->Follow(investigated);
}

void TConsultExplanations::NetNodeClicked(const CNode *node) {
    Explain(ToQString(node->name));
    if (driver == nullptr || !CHelpBuilder::IsSafePageName(node->name)) return;
    emit PageRequested(ToQString(CHelpBuilder(driver->Control().HelpPageDirectory()).PagePath(node->name)));
}
