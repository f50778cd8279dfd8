#include "consult/consultation_driver.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "consult/inf_control.h"
#include "net/params.h"
#include "language/help_builder.h"
#include "net/inf_tax_net.h"
#include "net/node.h"
#include "retrieval/table.h"
#include "retrieval/all_retrievers.h"
#include "tables/append_groups.h"
#include "tables/table_environment.h"
#include "ui/message_box.h"

namespace {

CString Value8(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%1.8f", static_cast<double>(value));
    return CString(text);
}

CGridRow ValueRow(const CNode *node) { return {node->name, Value8(node->prior), Value8(node->current)}; }

// While a consultation runs, the records of its engine output tables are
// committed together at most every half second, so that a batch does not
// wait for the disk at every case. Whatever ends the consultation (its end,
// an abort, a failure) stores the open group; only a killed process loses
// the records of its last half second, which are the last in key order.
class CGroupedAppends {
public:
    static constexpr CAppendGroups::Limits kLimits{100000, std::chrono::milliseconds(500)};

    explicit CGroupedAppends(CTableEnvironment *tableEnvironment) : environment(tableEnvironment) {
        if (environment == nullptr) return;
        groups.emplace(environment->Engine(), kLimits);
        environment->appendGroups = &*groups;
    }
    ~CGroupedAppends() {
        if (environment != nullptr) environment->appendGroups = nullptr;
    }
    CGroupedAppends(const CGroupedAppends &) = delete;
    CGroupedAppends &operator=(const CGroupedAppends &) = delete;

    bool End(std::string &reason) {
        if (environment != nullptr) environment->appendGroups = nullptr;
        return !groups || groups->End(reason);
    }

private:
    CTableEnvironment *environment;
    std::optional<CAppendGroups> groups;
};

}  // namespace

std::vector<CGridRow> ResultRows(const CInferenceNet &net) {
    std::vector<CGridRow> rows;
    for (int32_t i = 0; i < net.goals.Count(); ++i) {
        const CNode *goal = net.goals.At(i);
        CString order(i + 1);
        order.Append(".");
        rows.push_back({order, goal->name, Value8(goal->prior), Value8(goal->current)});
    }
    if (rows.empty()) rows.push_back(CGridRow(4));
    return rows;
}

CConsultationDriver::CConsultationDriver(std::unique_ptr<CInfControl> builtControl, IConsultationView *consultationView,
                                         IMessageBox *messageBoxes)
    : control(std::move(builtControl)), view(consultationView), messages(messageBoxes),
      investigatedGoal(kNothingInvestigated), investigatedNode(kNothingInvestigated) {}

CConsultationDriver::~CConsultationDriver() = default;

int32_t CConsultationDriver::RunConsultation() {
    CInfTaxNet *net = control->Net();
    if (net == nullptr || inside) return 2;
    inside = true;
    // Help pages are written by the build; what a consultation finds of
    // them is looked up once per page and kept until the next one.
    pageFound.clear();
    shownError.Clear();
    SetRunning(true);
    view->SetStatusText("Preparing...");
    RefreshAllLists();
    control->StartConsultationRecord();
    // The tables' files, like the reports, live beside the knowledge base.
    if (CAllRetrievers *registry = control->Registry(); registry != nullptr && registry->environment != nullptr)
        registry->environment->baseDirectory = control->SourceDirectory();
    net->ResetValues(control->Table());
    view->SetStatusText("Investigating...");
    RefreshAllLists();

    net->observer = this;
    control->Parameters()->asked = false;
    control->SetAbortRequested(false);
    control->SetConsultationFailed(false);
    CAllRetrievers *registry = control->Registry();
    CGroupedAppends appends(registry != nullptr ? registry->environment : nullptr);
    int32_t result = net->Consult(control->Table(), control->Parameters());
    if (std::string reason; !appends.End(reason)) {
        control->Context().faults.Add("Cannot write an engine output table: " + reason);
        result = 2;
    }
    // An abort is never reported as a success (see the header).
    if (result == 0 && control->AbortRequested()) result = 2;
    if (result != 0) control->SetConsultationFailed(true);
    // A report that cannot be written makes the run fail too.
    if (control->WriteReports() != 0) result = 2;
    net->observer = nullptr;

    if (result != 0)
        ReportFailure();
    else
        ReportSuccess();
    SetRunning(false);
    inside = false;
    return result;
}

void CConsultationDriver::ReportFailure() {
    CConsultationContext &context = control->Context();
    if (context.faults.Any()) {
        // The goals were investigated: show where they ended.
        RefreshList(TConsultationList::orderedGoals);
        RefreshList(TConsultationList::allNodes);
    }
    shownError = ShowRunFailure(*view, *messages, context.faults, control->AbortRequested(), context.errorText);
}

CString ShowRunFailure(IConsultationView &view, IMessageBox &messages, const CRunFaults &faults, bool aborted,
                       CString &pendingError) {
    CString shown;
    if (faults.Any()) {
        shown = faults.Summary().c_str();
        messages.ShowFault(shown);
    }
    if (aborted) {
        view.SetStatusText("Consultation aborted.");
        return shown;
    }
    if (!pendingError.IsEmpty()) {
        shown = pendingError;
        pendingError.Clear();
        messages.ShowMessage(shown, CString(), TMessageIcon::error);
    }
    view.SetStatusText("Error during consultation.");
    messages.ShowMessage("Error during consultation !", CString(), TMessageIcon::error);
    return shown;
}

void CConsultationDriver::ReportSuccess() {
    CInfTaxNet *net = control->Net();
    investigatedGoal = kNothingInvestigated;
    investigatedNode = kNothingInvestigated;
    view->SetInvestigatedGoal(investigatedGoal);
    view->SetInvestigatedNode(investigatedNode);
    RefreshList(TConsultationList::orderedGoals);
    RefreshList(TConsultationList::allNodes);
    if (view->DisplaysRows()) view->SetRows(TConsultationList::callStack, {CGridRow(1)});
    if (!control->Table()->batchRunning) {
        view->SetStatusText("Done, consulted ok.");
        if (AnyGoalEnabled(*net))
            view->ShowResult(ResultRows(*net));
        else
            messages->ShowMessage("No goal in given taxonomy.", CString(), TMessageIcon::information);
        return;
    }
    ShowBatchFinished(*view, *messages, AnyGoalEnabled(*net));
}

void ShowBatchFinished(IConsultationView &view, IMessageBox &messages, bool anyGoalEnabled) {
    view.SetStatusText("Done, consulted ok.");
    if (!anyGoalEnabled)
        messages.ShowMessage("No goal in given taxonomy.", CString(), TMessageIcon::information);
    else
        messages.ShowMessage("Batch consultation finished.", CString(), TMessageIcon::information);
}

bool AnyGoalEnabled(const CInferenceNet &net) {
    for (int32_t i = 0; i < net.goals.Count(); ++i)
        if (net.goals.At(i)->enabled) return true;
    return false;
}

void CConsultationDriver::AbortConsultation() {
    if (!running) return;
    control->SetAbortRequested(true);
    control->WriteReports();
    control->Table()->AbortRetrieval();
    SetRunning(false);
}

void CConsultationDriver::OnInvestigate(CInferenceNet *net, IEvidenceSource * /*evidence*/, CNode *node) {
    RefreshAllLists();
    investigatedGoal = net->callStack.Count() > 0 ? net->callStack.At(0)->name : CString(kNothingInvestigated);
    investigatedNode = node->name;
    view->SetInvestigatedGoal(investigatedGoal);
    view->SetInvestigatedNode(investigatedNode);
    ShowHelpPage();
    if (onInvestigate) onInvestigate(*net, *node);
}

bool CConsultationDriver::RequestClose() {
    if (running) {
        if (messages->AskYesNoCancel("Abort consultation?", "Abort?") == TYesNoCancel::yes) AbortConsultation();
        return false;
    }
    // After an abort the consultation may still be unwinding: the objects it
    // works on must stay alive until it has returned.
    return !inside;
}

void CConsultationDriver::SetHelpMode(THelpMode mode) {
    helpMode = mode;
    ShowHelpPage();
}

void CConsultationDriver::ShowHelpPage() {
    CString page;
    switch (helpMode) {
    case THelpMode::node: page = investigatedNode; break;
    case THelpMode::goal: page = investigatedGoal; break;
    case THelpMode::net: page = "index"; break;
    }
    if (!view->ShowsPages() || !CHelpBuilder::IsSafePageName(page)) return;
    const CString path = CHelpBuilder(control->HelpPageDirectory()).PagePath(page);
    auto [known, added] = pageFound.try_emplace(path.Text(), false);
    if (added) {
        std::error_code error;
        known->second = std::filesystem::is_regular_file(path.Text(), error);
    }
    if (known->second) view->ShowPage(path);
}

void CConsultationDriver::SetRunning(bool value) {
    running = value;
    view->SetRunning(value);
}

void CConsultationDriver::RefreshAllLists() {
    RefreshList(TConsultationList::orderedGoals);
    RefreshList(TConsultationList::callStack);
    RefreshList(TConsultationList::allNodes);
}

void CConsultationDriver::ListToggled(TConsultationList list) {
    if (!view->ListShown(list)) {
        view->SetRows(list, {CGridRow(list == TConsultationList::callStack ? 1 : 3)});
        return;
    }
    // The call stack exists only while a consultation runs.
    if (list == TConsultationList::callStack && !running) return;
    RefreshList(list);
}

void CConsultationDriver::RefreshList(TConsultationList list) {
    if (control->Net() == nullptr || !view->ListShown(list)) return;
    switch (list) {
    case TConsultationList::orderedGoals:
        // The order of the goals counts even where no row is shown: the
        // reports of an aborted consultation list them in it.
        control->Net()->SortGoals();
        if (view->DisplaysRows()) view->SetRows(list, GoalRows());
        break;
    case TConsultationList::callStack:
        if (view->DisplaysRows()) view->SetRows(list, CallStackRows());
        break;
    case TConsultationList::allNodes:
        if (view->DisplaysRows()) view->SetRows(list, NodeRows());
        break;
    }
}

std::vector<CGridRow> CConsultationDriver::GoalRows() const {
    std::vector<CGridRow> rows;
    const CNodeArray &goals = control->Net()->goals;
    for (int32_t i = 0; i < goals.Count(); ++i) rows.push_back(ValueRow(goals.At(i)));
    if (rows.empty()) rows.push_back(CGridRow(3));
    return rows;
}

std::vector<CGridRow> CConsultationDriver::NodeRows() const {
    std::vector<CGridRow> rows;
    const CNodeArray &nodes = control->Net()->nodes;
    for (int32_t i = 0; i < nodes.Count(); ++i)
        if (!nodes.At(i)->goal) rows.push_back(ValueRow(nodes.At(i)));
    if (rows.empty()) rows.push_back(CGridRow(3));
    return rows;
}

std::vector<CGridRow> CConsultationDriver::CallStackRows() const {
    std::vector<CGridRow> rows;
    const CNodeStack &stack = control->Net()->callStack;
    for (int32_t i = 0; i < stack.Count(); ++i) rows.push_back({stack.At(i)->name});
    if (rows.empty()) rows.push_back(CGridRow(1));
    return rows;
}
