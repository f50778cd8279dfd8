#include "app/consult_window.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
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
#include "app/batch_progress.h"
#include "app/consult_explanations.h"
#include "app/result_dialog.h"
#include "app/window_helpers.h"
#include "consult/consultation_driver.h"
#include "consult/global_params.h"
#include "consult/parallel_batch.h"
#include "consult/inf_control.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "ui/message_box.h"

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
    // Ctrl+F2 aborts from any window of the program - the question window
    // that waits above all. Only a running consultation's Abort is enabled,
    // so only that one takes the key.
    actAbort->setShortcutContext(Qt::ApplicationShortcut);
    actAbort->setEnabled(false);
    actShowCode = MakeAction(this, "Show &Code", "Show window with the knowledge base code");
    connect(actAbort, &QAction::triggered, this, &TmdiConsult::Abort);
    connect(actShowCode, &QAction::triggered, this, &TmdiConsult::ShowCode);
    detailSplitter = new QSplitter(Qt::Horizontal, this);
    detailSplitter->addWidget(CreateHelpPane(withHtml));
    detailSplitter->setChildrenCollapsible(false);
    explanations = new TConsultExplanations(host, this, detailSplitter);
    connect(explanations, &TConsultExplanations::PageRequested, this,
            [this](const QString &path) { ShowPage(ToCString(path)); });

    splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(CreateListsPanel());
    splitter->addWidget(detailSplitter);
    splitter->setChildrenCollapsible(false);
    connect(splitter, &QSplitter::splitterMoved, this, &TmdiConsult::KeepHelpPaneHeight);
    batchProgress = new TBatchProgress(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    layout->addWidget(batchProgress);
    setMinimumHeight(210);
    CreateMenus();

    const CGlobalParams &options = GlobalParams();
    chbHypos->setChecked(options.ShowHypotheses);
    chbCallStack->setChecked(options.ShowCallStack);
    chbNodes->setChecked(options.ShowNodes);
    connect(chbHypos, &QCheckBox::clicked, this, [this] { ListToggled(TConsultationList::orderedGoals); });
    connect(chbCallStack, &QCheckBox::clicked, this, [this] { ListToggled(TConsultationList::callStack); });
    connect(chbNodes, &QCheckBox::clicked, this, [this] { ListToggled(TConsultationList::allNodes); });
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
    for (QAction *action : {actAbort, actShowCode, explanations->netViewAction}) {
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
    commands->addWidget(explanations->nextQuestionsBox);
    commands->addStretch();

    chbHypos = new QCheckBox("Ordered goals", panel);
    chbCallStack = new QCheckBox("Call stack", panel);
    chbNodes = new QCheckBox("All nodes without goals", panel);
    sgGoals = MakeGrid(panel, {"Goal", "Aprior", "Current"});
    sgCallStack = MakeGrid(panel, {"Node name"});
    sgNodes = MakeGrid(panel, {"Node", "Aprior", "Current"});
    sgGoals->setColumnWidth(0, kFirstColumnWidth);
    sgNodes->setColumnWidth(0, kFirstColumnWidth);
    explanations->WatchLists({sgGoals, sgCallStack, sgNodes});
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

void TmdiConsult::CreateMenus() {
    AddFileMenu(nullptr, nullptr);
    QMenu *consultation = AddMenu("&Consultation");
    consultation->addAction(host.Command(THostCommand::consult));
    consultation->addAction(actAbort);
    consultation->addAction(actShowCode);
    consultation->addSeparator();
    consultation->addAction(explanations->netViewAction);
}

void TmdiConsult::TakeControl(std::unique_ptr<CInfControl> control, TAbstractMDIChild *sourceWindow) {
    source = sourceWindow;
    driver = std::make_unique<CConsultationDriver>(std::move(control), this, &host.Messages());
    explanations->SetDriver(driver.get());
    driver->Control().Context().batchProgress = [this](int32_t done, int32_t total) {
        batchProgress->Report(done, total);
    };
}

int32_t TmdiConsult::RunConsultation() {
    if (driver == nullptr || driver->InsideConsultation() || jobsRunning) return 2;
    const std::optional<int32_t> inJobs = RunInJobs();
    // Jobs that gave the batch back (a case must ask the user) may have
    // reported their start; the window's own run counts from its first case.
    if (!inJobs) batchProgress->Ended();
    const int32_t result = inJobs ? *inJobs : driver->RunConsultation();
    batchProgress->Ended();
    return result;
}

std::optional<int32_t> TmdiConsult::RunInJobs() {
    const QString program = host.JobProgram();
    // The jobs build the knowledge base from its file: it must hold the
    // text this window's net was built from.
    if (host.BatchJobs() < 2 || program.isEmpty() || source == nullptr || source->HasUnsavedChanges() ||
        source->SessionFile().isEmpty())
        return std::nullopt;
    ParallelBatchRequest request;
    request.program = QFile::encodeName(program).toStdString();
    request.knowledgeBase = QFile::encodeName(source->SessionFile()).toStdString();
    request.consultationName = driver->Control().ConsultationName().Text();
    request.jobs = host.BatchJobs();
    request.progress = [this](int32_t done, int32_t total) { batchProgress->Report(done, total); };
    request.stopRequested = [this] { return jobsStop; };
    jobsRunning = true;
    jobsStop = false;
    SetRunning(true);
    // The jobs' run says how it went once it is over; until then the window
    // says what it does.
    lStatus->setText("Investigating...");
    emit StatusPanelChanged(0, lStatus->text());
    const std::optional<int> status = RunParallelBatch(request, driver->Control(), *this, host.Messages());
    SetRunning(false);
    jobsRunning = false;
    return status;
}

void TmdiConsult::DoConsult() { RunConsultation(); }

void TmdiConsult::Abort() {
    if (jobsRunning) jobsStop = true;
    if (driver != nullptr) driver->AbortConsultation();
}

void TmdiConsult::ShowCode() {
    if (source != nullptr) emit ActivationRequested(source);
}

bool TmdiConsult::CanClose() {
    // Jobs that run are stopped first; the window closes once they are.
    if (jobsRunning) {
        if (host.Messages().AskYesNoCancel("Abort consultation?", "Abort?") == TYesNoCancel::yes) jobsStop = true;
        return false;
    }
    return driver == nullptr || driver->RequestClose();
}

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
    const bool values = list != TConsultationList::callStack;
    explanations->FillList(Grid(list), rows,
                           TGridLook{0, values ? 1 : -1, host.ListDecimals(), Describer(), {kFirstColumnWidth}});
}

TNodeDescriber TmdiConsult::Describer() const {
    return [this](const QString &name) {
        if (driver == nullptr || driver->Control().Net() == nullptr) return QString();
        const CNode *node = driver->Control().Net()->FindNode(ToCString(name));
        return node != nullptr ? ToQString(node->description).trimmed() : QString();
    };
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
    // The driver sets no status between a batch's first case and the end of
    // its run, so a status now means the cases are over; the figures show
    // where they ended beside the outcome's message.
    batchProgress->CasesOver();
    emit StatusPanelChanged(0, lStatus->text());
    // Every stage of a consultation (reset, investigating, its end) moves
    // values the explanations show.
    explanations->ValuesChanged();
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
    if (!value) explanations->InvestigationEnded();
}

void TmdiConsult::ShowResult(const std::vector<CGridRow> &rows) {
    // The result comes before the consultation has wound up; nothing is
    // investigated any more while the user reads it.
    explanations->InvestigationEnded();
    host.ShowResult(rows, Describer());
}

