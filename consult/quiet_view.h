// A consultation view and message boxes that show nothing, for front ends
// without a screen: a stream of cases, a program that embeds the core, the
// benchmarks. The view keeps no rows and shows no pages, but remembers the
// last status text and the node under investigation; the message boxes
// remember the messages of the consultation running, in order.
#pragma once

#include <string>
#include <vector>

#include "ui/consultation_view.h"
#include "ui/message_box.h"

class CQuietView : public IConsultationView {
public:
    void SetStatusText(const CString &text) override { lastStatus = text.Text(); }
    // The ordered goals count as shown, so the goals are sorted at every
    // question as the console sorts them.
    bool ListShown(TConsultationList list) const override { return list == TConsultationList::orderedGoals; }
    void SetRows(TConsultationList, const std::vector<CGridRow> &) override {}
    bool DisplaysRows() const override { return false; }
    void SetInvestigatedGoal(const CString &) override {}
    void SetInvestigatedNode(const CString &text) override { investigatedNode = text.Text(); }
    void ShowPage(const CString &) override {}
    bool ShowsPages() const override { return false; }
    void SetRunning(bool) override {}
    void ShowResult(const std::vector<CGridRow> &) override {}

    std::string lastStatus;
    std::string investigatedNode;
};

class CQuietMessages : public IMessageBox {
public:
    void ShowMessage(const CString &text, const CString &, TMessageIcon) override { shown.emplace_back(text.Text()); }
    // Nobody can be asked; closing the question answers Cancel.
    TYesNoCancel AskYesNoCancel(const CString &, const CString &) override { return TYesNoCancel::cancel; }

    std::vector<std::string> shown;
};
