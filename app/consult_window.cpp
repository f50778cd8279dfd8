#include "app/consult_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include "app/abstract_question.h"
#include "app/explanation_html.h"
#include "app/explanation_pane.h"
#include "app/net_view.h"
#include "app/result_dialog.h"
#include "app/window_helpers.h"
#include "consult/consultation_driver.h"
#include "consult/global_params.h"
#include "consult/inf_control.h"
#include "explain/how.h"
#include "explain/next_questions.h"
#include "explain/why.h"
#include "language/help_builder.h"
#include "net/inf_tax_net.h"
#include "net/node.h"

namespace {

// The help pane keeps more than this many pixels when the splitter is
// dragged; otherwise the splitter goes back to kSplitterHome from the top.
constexpr int kHelpPaneLeast = 156;
constexpr int kSplitterHome = 153;
constexpr int kFirstColumnWidth = 70;

QTableWidget *MakeGrid(QWidget *parent, const QStringList &headers) {
    auto *grid = new QTableWidget(1, static_cast<int>(headers.size()), parent);
    grid->setHorizontalHeaderLabels(headers);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

}  // namespace

TmdiConsult::TmdiConsult(IChildHost &childHost, bool withHtml) : TAbstractMDIChild(childHost) {
    actAbort = MakeAction(this, "&Abort", "Abort Consultation", QKeySequence("Ctrl+F2"));
    actAbort->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    actAbort->setEnabled(false);
    actShowCode = MakeAction(this, "Show &Code", "Show window with the knowledge base code");
    connect(actAbort, &QAction::triggered, this, &TmdiConsult::Abort);
    connect(actShowCode, &QAction::triggered, this, &TmdiConsult::ShowCode);
    actNetView = MakeAction(this, "Net &view", "Show the net, coloured by its values as the consultation goes on");
    actNetView->setCheckable(true);
    connect(actNetView, &QAction::toggled, this, &TmdiConsult::ShowNetView);

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(CreateListsPanel());
    splitter->addWidget(CreateDetailPanes(withHtml));
    splitter->setChildrenCollapsible(false);
    connect(splitter, &QSplitter::splitterMoved, this, &TmdiConsult::KeepHelpPaneHeight);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    setMinimumHeight(210);
    CreateMenus();

    const CGlobalParams &options = GlobalParams();
    chbHypos->setChecked(options.ShowHypotheses);
    chbCallStack->setChecked(options.ShowCallStack);
    chbNodes->setChecked(options.ShowNodes);
    connect(chbHypos, &QCheckBox::clicked, this, [this] { ListToggled(TConsultationList::orderedGoals); });
    connect(chbCallStack, &QCheckBox::clicked, this, [this] { ListToggled(TConsultationList::callStack); });
    connect(chbNodes, &QCheckBox::clicked, this, [this] { ListToggled(TConsultationList::allNodes); });
    // Ticked, the list comes with the next question.
    connect(chbNextQuestions, &QCheckBox::toggled, this, [this](bool on) {
        if (!on) host.ShowNextQuestions({});
    });
}

TmdiConsult::~TmdiConsult() = default;

QWidget *TmdiConsult::CreateListsPanel() {
    auto *panel = new QWidget(this);
    lStatus = new QLabel(panel);
    lGoal = new QLabel(CConsultationDriver::kNothingInvestigated, panel);
    lNode = new QLabel(CConsultationDriver::kNothingInvestigated, panel);
    auto *labels = new QFormLayout;
    labels->addRow("Status:", lStatus);
    labels->addRow("Investigated goal:", lGoal);
    labels->addRow("Investigated node:", lNode);

    auto *commands = new QHBoxLayout;
    for (QAction *action : {actAbort, actShowCode, actNetView}) {
        auto *button = new QToolButton(panel);
        button->setDefaultAction(action);
        commands->addWidget(button);
    }
    commands->addSpacing(16);
    bttNode = new QPushButton("&Node", panel);
    bttGoal = new QPushButton("Goa&l", panel);
    bttNet = new QPushButton("&Net", panel);
    int mode = 0;
    for (QPushButton *button : {bttNode, bttGoal, bttNet}) {
        button->setAutoDefault(false);
        commands->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, mode] { SetHelpMode(mode); });
        ++mode;
    }
    commands->addSpacing(16);
    chbNextQuestions = new QCheckBox("Next &questions", panel);
    chbNextQuestions->setToolTip("Show the next questions of the goal beside each question");
    chbNextQuestions->setChecked(true);
    commands->addWidget(chbNextQuestions);
    commands->addStretch();

    chbHypos = new QCheckBox("Ordered goals", panel);
    chbCallStack = new QCheckBox("Call stack", panel);
    chbNodes = new QCheckBox("All nodes without goals", panel);
    sgGoals = MakeGrid(panel, {"Goal", "Aprior", "Current"});
    sgCallStack = MakeGrid(panel, {"Node name"});
    sgNodes = MakeGrid(panel, {"Node", "Aprior", "Current"});
    sgGoals->setColumnWidth(0, kFirstColumnWidth);
    sgNodes->setColumnWidth(0, kFirstColumnWidth);
    for (QTableWidget *grid : {sgGoals, sgCallStack, sgNodes})
        connect(grid, &QTableWidget::currentCellChanged, this, [this, grid](int row) { NodePicked(grid, row); });
    auto *lists = new QHBoxLayout;
    const std::pair<QCheckBox *, QTableWidget *> columns[] = {
        {chbHypos, sgGoals}, {chbCallStack, sgCallStack}, {chbNodes, sgNodes}};
    for (const auto &[box, grid] : columns) {
        auto *column = new QVBoxLayout;
        column->addWidget(box);
        column->addWidget(grid);
        lists->addLayout(column, grid == sgCallStack ? 2 : 3);
    }

    auto *layout = new QVBoxLayout(panel);
    layout->addLayout(labels);
    layout->addLayout(commands);
    layout->addLayout(lists);
    return panel;
}

QWidget *TmdiConsult::CreateHelpPane(bool withHtml) {
    if (withHtml) {
        htmlViewer = new QTextBrowser(this);
        htmlViewer->setOpenLinks(true);
        return htmlViewer;
    }
    auto *plain = new QLabel("HTML viewer not available", this);
    plain->setAlignment(Qt::AlignCenter);
    return plain;
}

QWidget *TmdiConsult::CreateDetailPanes(bool withHtml) {
    detailSplitter = new QSplitter(Qt::Horizontal, this);
    detailSplitter->addWidget(CreateHelpPane(withHtml));
    explanation = new TExplanationPane(this);
    detailSplitter->addWidget(explanation);
    detailSplitter->setChildrenCollapsible(false);
    return detailSplitter;
}

void TmdiConsult::CreateMenus() {
    AddFileMenu(nullptr, nullptr);
    QMenu *consultation = AddMenu("&Consultation");
    consultation->addAction(host.Command(THostCommand::consult));
    consultation->addAction(actAbort);
    consultation->addAction(actShowCode);
    consultation->addSeparator();
    consultation->addAction(actNetView);
}

void TmdiConsult::TakeControl(std::unique_ptr<CInfControl> control, TAbstractMDIChild *sourceWindow) {
    source = sourceWindow;
    driver = std::make_unique<CConsultationDriver>(std::move(control), this, &host.Messages());
    driver->SetInvestigationListener([this](CInferenceNet &net, CNode &node) {
        investigated = &node;
        FollowInvestigation(net);
    });
    if (netView != nullptr && !netView->isHidden()) ShowNetView(true);
}

int32_t TmdiConsult::RunConsultation() {
    if (driver == nullptr || driver->InsideConsultation()) return 2;
    return driver->RunConsultation();
}

void TmdiConsult::DoConsult() { RunConsultation(); }

void TmdiConsult::Abort() {
    if (driver != nullptr) driver->AbortConsultation();
}

void TmdiConsult::ShowCode() {
    if (source != nullptr) emit ActivationRequested(source);
}

bool TmdiConsult::CanClose() { return driver == nullptr || driver->RequestClose(); }

// The lists

QTableWidget *TmdiConsult::Grid(TConsultationList list) const {
    switch (list) {
    case TConsultationList::orderedGoals: return sgGoals;
    case TConsultationList::callStack: return sgCallStack;
    case TConsultationList::allNodes: return sgNodes;
    }
    return nullptr;
}

QCheckBox *TmdiConsult::CheckBox(TConsultationList list) const {
    switch (list) {
    case TConsultationList::orderedGoals: return chbHypos;
    case TConsultationList::callStack: return chbCallStack;
    case TConsultationList::allNodes: return chbNodes;
    }
    return nullptr;
}

bool TmdiConsult::ListShown(TConsultationList list) const { return CheckBox(list)->isChecked(); }

void TmdiConsult::SetRows(TConsultationList list, const std::vector<CGridRow> &rows) {
    // The rows change under a kept current cell; that is no pick of the user.
    movingCurrentRow = true;
    FillGrid(Grid(list), rows);
    movingCurrentRow = false;
    SelectExplainedNode(Grid(list));
}

void TmdiConsult::ListToggled(TConsultationList list) {
    if (driver != nullptr) {
        driver->ListToggled(list);
        return;
    }
    if (!ListShown(list)) FillGrid(Grid(list), {CGridRow(static_cast<size_t>(Grid(list)->columnCount()))});
}

// Labels, status and help pane

void TmdiConsult::SetStatusText(const CString &text) {
    lStatus->setText(ToQString(text));
    emit StatusPanelChanged(0, lStatus->text());
    // Every stage of a consultation (reset, investigating, its end) moves
    // values the How and the picture show.
    RefreshHow();
    RefreshNetView();
}

QString TmdiConsult::StatusText() const { return lStatus->text(); }

void TmdiConsult::SetInvestigatedGoal(const CString &text) { lGoal->setText(ToQString(text)); }

void TmdiConsult::SetInvestigatedNode(const CString &text) { lNode->setText(ToQString(text)); }

QString TmdiConsult::InvestigatedGoalText() const { return lGoal->text(); }

QString TmdiConsult::InvestigatedNodeText() const { return lNode->text(); }

void TmdiConsult::ShowPage(const CString &path) {
    const QString file = ToQString(path);
    if (htmlViewer == nullptr || !QFileInfo(file).isFile()) return;
    const QUrl page = QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath());
    if (htmlViewer->source() == page)
        htmlViewer->reload();
    else
        htmlViewer->setSource(page);
    shownPage = file;
}

void TmdiConsult::SetHelpMode(int mode) {
    if (driver != nullptr) driver->SetHelpMode(static_cast<THelpMode>(mode));
}

void TmdiConsult::KeepHelpPaneHeight() {
    const QList<int> sizes = splitter->sizes();
    if (sizes.size() < 2 || sizes[1] > kHelpPaneLeast) return;
    const int total = sizes[0] + sizes[1];
    splitter->setSizes({kSplitterHome, std::max(0, total - kSplitterHome)});
}

// Running

void TmdiConsult::SetRunning(bool value) {
    actAbort->setEnabled(value);
    TAbstractMDIChild::SetRunning(value);
    if (!value) EndInvestigation();
}

void TmdiConsult::ShowResult(const std::vector<CGridRow> &rows) {
    // The result comes before the consultation has wound up; nothing is
    // investigated any more while the user reads it.
    EndInvestigation();
    host.ShowResult(rows);
}

// Explanations

void TmdiConsult::EndInvestigation() {
    investigated = nullptr;
    explanation->SetWhy(QString());
    host.ShowNextQuestions({});
    RefreshHow();
    RefreshNetView();
}

void TmdiConsult::FollowInvestigation(CInferenceNet &net) {
    explanation->SetWhy(WhyHtml(quorvin::explain::ExplainWhy(net)));
    RefreshHow();
    RefreshNetView();
    if (chbNextQuestions->isChecked()) RefreshNextQuestions(net);
}

void TmdiConsult::NodePicked(QTableWidget *grid, int row) {
    if (movingCurrentRow || row < 0 || grid->item(row, 0) == nullptr || grid->item(row, 0)->text().isEmpty()) return;
    ExplainNode(grid->item(row, 0)->text());
}

void TmdiConsult::ExplainNode(const QString &name) {
    explainedNode = name;
    RefreshHow();
    explanation->RevealHow();
    for (QTableWidget *grid : {sgGoals, sgCallStack, sgNodes}) SelectExplainedNode(grid);
}

void TmdiConsult::SelectExplainedNode(QTableWidget *grid) {
    // The lists re-sort as values change: the row that stays selected must
    // be the explained node's, wherever it went, or none.
    int row = grid->rowCount() - 1;
    while (row >= 0 && (explainedNode.isEmpty() || grid->item(row, 0) == nullptr ||
                        grid->item(row, 0)->text() != explainedNode))
        --row;
    if (row == grid->currentRow()) return;
    movingCurrentRow = true;
    if (row < 0)
        grid->setCurrentCell(-1, -1);
    else
        grid->setCurrentCell(row, 0);
    movingCurrentRow = false;
}

void TmdiConsult::RefreshHow() {
    if (driver == nullptr || explainedNode.isEmpty() || driver->Control().Net() == nullptr) return;
    const CNode *node = driver->Control().Net()->FindNode(ToCString(explainedNode));
    if (node == nullptr) return;
    explanation->SetHow(HowHtml(quorvin::explain::ExplainHow(*node, driver->Control().Table())));
}

void TmdiConsult::RefreshNextQuestions(CInferenceNet &net) {
    if (net.callStack.Count() == 0) return;
    const CNode *goal = net.callStack.At(0);
    TNextQuestions next{ToQString(goal->name), goal->current, ToQString(net.callStack.Top()->name), {}};
    for (const quorvin::explain::NextQuestion &question : quorvin::explain::NextQuestions(net))
        next.rows.push_back({ToQString(question.node->name), question.score, question.goalIfYes, question.goalIfNo});
    host.ShowNextQuestions(next);
}

// The net view

void TmdiConsult::ShowNetView(bool shown) {
    if (netView == nullptr) {
        if (!shown) return;
        netView = new TNetView(this);
        detailSplitter->addWidget(netView);
        connect(netView, &TNetView::NodeClicked, this, &TmdiConsult::NetNodeClicked);
    }
    netView->setVisible(shown);
    if (shown && driver != nullptr && driver->Control().Net() != nullptr)
        netView->ShowNet(*driver->Control().Net(), investigated);
}

void TmdiConsult::RefreshNetView() {
    if (netView != nullptr && !netView->isHidden()) netView->Follow(investigated);
}

void TmdiConsult::NetNodeClicked(const CNode *node) {
    ExplainNode(ToQString(node->name));
    if (driver == nullptr || !CHelpBuilder::IsSafePageName(node->name)) return;
    ShowPage(CHelpBuilder(driver->Control().HelpPageDirectory()).PagePath(node->name));
}
