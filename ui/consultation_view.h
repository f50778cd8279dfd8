// IConsultationView: what the consultation window shows while a consultation
// runs and after it ends.
//
// The consultation driver fills the view; the view only shows. It has a
// status text, the investigated goal and node (shown after the captions
// "Investigated goal:" and "Investigated node:", both starting as
// ".........."), three lists with a check box each, a help pane that shows
// local HTML pages, and the result dialog. Cells arrive as finished texts
// (values already formatted).
//   - "Ordered goals": columns "Goal", "Aprior", "Current";
//   - "Call stack": one column "Node name";
//   - "All nodes without goals": columns "Node", "Aprior", "Current".
// Each list has a header row that the view keeps; the rows given are the
// rows under it (an empty list is given as one row of empty cells).
#pragma once

#include <vector>

#include "foundation/cstring.h"
#include "ui/status_text.h"

// The cells of one row, left to right.
using CGridRow = std::vector<CString>;

enum class TConsultationList { orderedGoals, callStack, allNodes };

class IConsultationView : public IStatusText {
public:
    // The lists
    // True when the list's check box is ticked (only ticked lists are filled).
    virtual bool ListShown(TConsultationList list) const = 0;
    // Replaces the rows under the list's header.
    virtual void SetRows(TConsultationList list, const std::vector<CGridRow> &rows) = 0;
    // False for a view that keeps no rows (a console): the driver then
    // neither formats nor hands them over, which a batch of many cases
    // would otherwise pay for at every question.
    virtual bool DisplaysRows() const { return true; }

    // The investigation labels
    virtual void SetInvestigatedGoal(const CString &text) = 0;
    virtual void SetInvestigatedNode(const CString &text) = 0;

    // The help pane: shows the local HTML file at `path`. A missing file
    // changes nothing; a view without an HTML viewer shows nothing.
    virtual void ShowPage(const CString &path) = 0;
    // False for a view without a help pane: the driver then looks for no page.
    virtual bool ShowsPages() const { return true; }

    // While a consultation runs the Abort action is enabled and closing the
    // window asks first.
    virtual void SetRunning(bool running) = 0;

    // The result dialog "Result of the consultation", shown modally with the
    // lines "Consulted OK" and "Ordered goal hypotheses:" and a grid with the
    // columns "Order", "Goal", "Aprior", "Aposterior"; returns when the user
    // closes it.
    virtual void ShowResult(const std::vector<CGridRow> &rows) = 0;
};
