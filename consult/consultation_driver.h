// CConsultationDriver: runs consultations of one built knowledge base and
// reports them through a consultation view and message boxes.
//
// The driver is the logic of a consultation window, written once for every
// front end: the desktop window and the console both own one. It owns the
// built CInfControl handed to it and runs `RunConsultation` on it as often as
// asked: status texts, the three lists, the investigated goal and node, the
// help page that follows the investigation, the reports, the outcome's
// message boxes and the result dialog. `AbortConsultation` may be called from
// inside a running consultation (a handler nested in a question's wait); it
// only marks the abort, writes the reports and cancels the asking retriever.
//
// The driver is the net's observer while it consults. Everything of a
// consultation lives in the driver, its control and the control's context,
// so drivers of different knowledge bases do not touch each other; one
// driver runs one consultation at a time.
//
// One departure from a plain replay of the steps: a consultation whose abort
// was requested always ends as aborted, even when a node's further retriever
// answered after the cancelled one and the net finished its goals. The user
// asked to stop, so the outcome is never reported as a success.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "foundation/cstring.h"
#include "net/net_observer.h"
#include "ui/consultation_view.h"

class CInfControl;
class CInferenceNet;
class IEvidenceSource;
class CNode;
class CRunFaults;
class IMessageBox;

// Which page the help pane follows.
enum class THelpMode { node = 0, goal = 1, net = 2 };

class CConsultationDriver : public INetObserver {
public:
    // Takes over the control; the view and the message boxes are not owned
    // and must outlive the driver.
    CConsultationDriver(std::unique_ptr<CInfControl> control, IConsultationView *view, IMessageBox *messages);
    ~CConsultationDriver() override;
    CConsultationDriver(const CConsultationDriver &) = delete;
    CConsultationDriver &operator=(const CConsultationDriver &) = delete;

    // Consulting
    // Runs one consultation from reset values; returns the net's result
    // (0 consulted ok). Asks the parameters anew every time.
    int32_t RunConsultation();
    // The Abort command; does nothing unless a consultation is running.
    void AbortConsultation();
    // The net's observer: about to obtain evidence for `node`.
    void OnInvestigate(CInferenceNet *net, IEvidenceSource *evidence, CNode *node) override;
    // A front end's own accounts of the net (explanations, a drawing of the
    // net) follow the investigation: the listener is called at every node
    // the net is about to obtain evidence for, after the view has been
    // updated and while the call stack still holds the descent to it. It
    // must leave the net as it found it.
    using InvestigationListener = std::function<void(CInferenceNet &net, CNode &node)>;
    void SetInvestigationListener(InvestigationListener listener) { onInvestigate = std::move(listener); }

    // The window's other commands
    // A close request: true when the window may close now. While a
    // consultation runs the user is asked "Abort consultation?" and Yes
    // aborts it; the window stays open until the consultation has unwound.
    bool RequestClose();
    // "&Node", "Goa&l", "&Net": the help pane follows the node, the goal or
    // the net's index page from now on, and shows that page at once.
    void SetHelpMode(THelpMode mode);
    // A list's check box changed: an unticked list is emptied, a ticked one
    // filled (the call stack only while a consultation runs).
    void ListToggled(TConsultationList list);

    // State
    CInfControl &Control() const { return *control; }
    bool Running() const { return running; }
    // True from RunConsultation's start to its return, also after an abort.
    bool InsideConsultation() const { return inside; }
    const CString &InvestigatedGoal() const { return investigatedGoal; }
    const CString &InvestigatedNode() const { return investigatedNode; }
    THelpMode HelpMode() const { return helpMode; }
    // The pending error text (a cycle message) that the last consultation
    // showed before "Error during consultation !"; empty when none.
    const CString &ShownError() const { return shownError; }

    // The text shown in the investigation labels when nothing is investigated.
    static constexpr const char *kNothingInvestigated = "..........";

private:
    void SetRunning(bool value);
    void RefreshAllLists();
    void RefreshList(TConsultationList list);
    void ReportFailure();
    void ReportSuccess();
    void ShowHelpPage();
    std::vector<CGridRow> GoalRows() const;
    std::vector<CGridRow> NodeRows() const;
    std::vector<CGridRow> CallStackRows() const;

    std::unique_ptr<CInfControl> control;
    IConsultationView *view;
    IMessageBox *messages;
    bool running = false;
    bool inside = false;
    CString investigatedGoal;
    CString investigatedNode;
    THelpMode helpMode = THelpMode::node;
    CString shownError;
    std::unordered_map<std::string, bool> pageFound;  // help page path -> is a file
    InvestigationListener onInvestigate;
};

// How a run that failed ends for the user: the faults' summary, then
// "Consultation aborted." for an abort, or the pending error (which is
// cleared) and "Error during consultation !". Returns the text shown as the
// run's error. Also used for a batch whose cases ran in other processes.
CString ShowRunFailure(IConsultationView &view, IMessageBox &messages, const CRunFaults &faults, bool aborted,
                       CString &pendingError);
// How a batch that consulted ok ends: "Done, consulted ok.", then "Batch
// consultation finished.", or "No goal in given taxonomy." when the last
// case left no goal enabled.
void ShowBatchFinished(IConsultationView &view, IMessageBox &messages, bool anyGoalEnabled);
// True when some goal of the net is enabled (in the chosen taxonomy class).
bool AnyGoalEnabled(const CInferenceNet &net);

// The rows of the result dialog: "1.", name, a-priori and current value as
// "%1.8f", for every goal in the net's current order (not sorted here); one
// empty row when there is no goal.
std::vector<CGridRow> ResultRows(const CInferenceNet &net);
