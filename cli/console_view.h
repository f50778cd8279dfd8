// The console's consultation view, message boxes and message pane.
//
// The console behaves like a consultation window with its default options as
// far as the outcome goes: the ordered-goals list counts as shown, so the
// driver refreshes (and with it sorts) the goals at every question, but the
// console prints none of it. The call stack and all-nodes lists count as
// hidden: they change nothing but the display, and rebuilding the rows of
// every node at every question made a consultation of n nodes cost n^2. It
// prints status texts as "Status: TEXT", every message box as its text on a
// line of its own, build lines as they come, and at the end of a successful
// consultation the result as the result dialog shows it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "console_session.h"
#include "ui/consultation_view.h"
#include "ui/message_box.h"
#include "ui/message_pane.h"

class ConsoleView : public IConsultationView {
public:
    explicit ConsoleView(ConsoleSession &session) : session(session) {}

    void SetStatusText(const CString &text) override;
    bool ListShown(TConsultationList list) const override { return list == TConsultationList::orderedGoals; }
    void SetRows(TConsultationList, const std::vector<CGridRow> &) override {}
    bool DisplaysRows() const override { return false; }
    void SetInvestigatedGoal(const CString &) override {}
    void SetInvestigatedNode(const CString &text) override { session.currentNode = text.Text(); }
    void ShowPage(const CString &) override {}
    bool ShowsPages() const override { return false; }
    void SetRunning(bool) override {}
    void ShowResult(const std::vector<CGridRow> &rows) override;

    const std::string &LastStatus() const { return lastStatus; }

    // Runs before the view writes, so that a progress line on the terminal
    // is ended first.
    std::function<void()> beforeOutput;

private:
    void BeforeOutput() const {
        if (beforeOutput) beforeOutput();
    }

    ConsoleSession &session;
    std::string lastStatus;
};

class ConsoleMessages : public IMessageBox {
public:
    explicit ConsoleMessages(Terminal &terminal) : terminal(terminal) {}

    void ShowMessage(const CString &text, const CString &title, TMessageIcon icon) override;
    // A line "quorvin-cli: TEXT" on the error stream.
    void ShowFault(const CString &text) override;
    // A console never has to ask; closing the question answers Cancel.
    TYesNoCancel AskYesNoCancel(const CString &, const CString &) override { return TYesNoCancel::cancel; }

    // As ConsoleView's.
    std::function<void()> beforeOutput;

private:
    void BeforeOutput() const {
        if (beforeOutput) beforeOutput();
    }

    Terminal &terminal;
};

class ConsolePane : public IMessagePane {
public:
    explicit ConsolePane(Terminal &terminal) : terminal(terminal) {}

    void Clear() override {}
    void AppendLine(const char *line) override;

    // The last error line of the build ("[Error..."), empty when none.
    const std::string &ErrorLine() const { return errorLine; }
    // Every line, in order.
    const std::vector<std::string> &Lines() const { return lines; }

private:
    Terminal &terminal;
    std::string errorLine;
    std::vector<std::string> lines;
};
