// TmdiConsult: the child window that shows one consultation of a built
// knowledge base while it runs and after it ends.
//
// It shows the status ("Status:"), the goal and node under investigation
// ("Investigated goal:", "Investigated node:"), three lists with a check box
// each - "Ordered goals" (Goal, Aprior, Current), "Call stack" (Node name)
// and "All nodes without goals" (Node, Aprior, Current) - and a help pane
// that follows the investigation through the knowledge base's HTML pages:
// the page of the investigated node ("&Node"), goal ("Goa&l") or the net's
// index ("&Net"). The lists' panel and the help pane share the window's
// height through a splitter. Without the HTML viewer (the plain kind) the
// pane reads "HTML viewer not available" and shows no page.
//
// The window owns the CInfControl the editor handed over, through the
// consultation driver of the core (consult/consultation_driver.h), which
// runs the consultations and fills this window as their view. While one
// runs, Abort is enabled (Ctrl+F2, from any window of the program, the
// question windows included) and closing asks "Abort consultation?" first; the
// window stays open until the consultation has unwound. Its status also goes
// out as the status bar's first panel; the result dialog and the message
// boxes are the host's; "Show &Code" asks for the source window.
//
// Beside the help pane, the explanation pane accounts for the consultation
// (app/consult_explanations.h): how the node picked in any of the three
// lists got its value, and while a question waits, why the net asks it.
// With "Next questions" ticked, every question also brings the next
// questions of the goal beside the question window; "Net &view" opens a
// picture of the net whose colours follow the consultation. None of it
// changes a consultation.
//
// While a batch consultation runs, a status bar at the window's foot shows
// how far it is (app/batch_progress.h) and keeps the window answering
// between cases.
#pragma once

#include <QPointer>
#include <memory>
#include <vector>

#include "app/mdi_child.h"
#include "app/node_grid.h"
#include "ui/consultation_view.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QSplitter;
class QTableWidget;
class QTextBrowser;
class TBatchProgress;
class CConsultationDriver;
class CInfControl;
class TConsultExplanations;

class TmdiConsult : public TAbstractMDIChild, public IConsultationView {
    Q_OBJECT
public:
    // `withHtml`: the help pane carries the HTML viewer.
    TmdiConsult(IChildHost &host, bool withHtml);
    ~TmdiConsult() override;

    int ChildKind() const override { return kChildConsultation; }
    QString HelpTopic() const override { return "consult"; }
    // Runs the consultation again on the same net.
    void DoConsult() override;
    bool HasHtmlViewer() const { return htmlViewer != nullptr; }

    // Takes over a built control; `source` is the window (the editor)
    // "Show &Code" brings to the front.
    void TakeControl(std::unique_ptr<CInfControl> control, TAbstractMDIChild *source);
    // Runs one consultation; returns its result (0 consulted ok).
    int32_t RunConsultation();
    void StartConsultation() { RunConsultation(); }
    void Abort();
    void ShowCode();
    // The driver, once the window has a control.
    CConsultationDriver *Driver() const { return driver.get(); }

    // What the view shows
    void SetStatusText(const CString &text) override;
    bool ListShown(TConsultationList list) const override;
    void SetRows(TConsultationList list, const std::vector<CGridRow> &rows) override;
    void SetInvestigatedGoal(const CString &text) override;
    void SetInvestigatedNode(const CString &text) override;
    void ShowPage(const CString &path) override;
    void SetRunning(bool running) override;
    void ShowResult(const std::vector<CGridRow> &rows) override;

    QString StatusText() const;
    QString InvestigatedGoalText() const;
    QString InvestigatedNodeText() const;
    QString ShownPage() const { return shownPage; }
    QTableWidget *Grid(TConsultationList list) const;
    QCheckBox *CheckBox(TConsultationList list) const;

    QAction *actAbort, *actShowCode;
    QPushButton *bttNode, *bttGoal, *bttNet;
    QSplitter *splitter;
    QSplitter *detailSplitter;  // the help pane, the explanations' panes
    QTextBrowser *htmlViewer = nullptr;  // null in the plain kind
    TConsultExplanations *explanations;
    TBatchProgress *batchProgress;

protected:
    bool CanClose() override;

private:
    QWidget *CreateListsPanel();
    QWidget *CreateHelpPane(bool withHtml);
    void CreateMenus();
    void ListToggled(TConsultationList list);
    void SetHelpMode(int mode);
    void KeepHelpPaneHeight();
    // The descriptions of the nodes of the window's net, for tool tips.
    TNodeDescriber Describer() const;

    // A batch consulted by several processes; nothing when the window
    // consults it alone (consult/parallel_batch.h).
    std::optional<int32_t> RunInJobs();

    std::unique_ptr<CConsultationDriver> driver;
    bool jobsRunning = false;
    bool jobsStop = false;
    QPointer<TAbstractMDIChild> source;
    QLabel *lStatus, *lGoal, *lNode;
    QCheckBox *chbHypos, *chbCallStack, *chbNodes;
    QTableWidget *sgGoals, *sgCallStack, *sgNodes;
    QString shownPage;
};
