// The question windows of the console: each prints its question in text
// mode (help line and prompt; the choice question with its numbered options,
// the taxonomy question with its class tree), takes one answer through the
// session and hands it to the window interface as the desktop window would.
// Checking the answer and asking again belong to the retrievers.
#pragma once

#include <vector>

#include "console_session.h"
#include "ui/choice_question_window.h"
#include "ui/exact_value_window.h"
#include "ui/interval_question_window.h"
#include "ui/param_window.h"
#include "ui/prob_question_window.h"
#include "ui/taxonomy_class_dialog.h"
#include "ui/taxonomy_list_window.h"
#include "ui/text_mode.h"
#include "ui/yes_no_question_window.h"

// What every console question window shares: the description it shows and
// the session it asks through. Hiding has nothing to take off the screen.
template <typename Window>
class ConsoleWindow : public Window {
public:
    explicit ConsoleWindow(ConsoleSession &session) : session(session) {}

    void SetDescription(const CString &text) override { description = text; }
    void Hide() override {}

protected:
    // Prints the rejection and the question; false when the consultation was
    // aborted instead, after aborting this window too.
    bool Ask(const CString &rejection, const std::string &question, const std::string &name, std::string &line) {
        session.PrintRejection(rejection.Text());
        if (session.Ask(question, name, !rejection.IsEmpty(), line)) return true;
        // The abort cancels the asking retriever, which aborts its window;
        // this makes sure of it whichever retriever was asking.
        if (!this->aborted) this->Abort();
        return false;
    }
    // Help line then prompt, with the description in the prompt.
    std::string Question(TQuestionKind kind) const {
        return std::string(TextHelpLine(kind).Text()) + TextPrompt(kind, description).Text();
    }

    ConsoleSession &session;
    CString description;
};

// A window with one edit field.
template <typename Window>
class ConsoleEditWindow : public ConsoleWindow<Window> {
public:
    using ConsoleWindow<Window>::ConsoleWindow;
    void SetText(const CString &text) override { field = text; }
    CString Text() const override { return field; }

private:
    CString field;
};

// The probability and exact-value questions: a blank line is "Don't know",
// any other line goes into the field and is accepted.
template <typename Window, TQuestionKind kKind>
class ConsoleNumberWindow : public ConsoleEditWindow<Window> {
public:
    using ConsoleEditWindow<Window>::ConsoleEditWindow;

protected:
    void Present(const CString &rejection) override {
        std::string line;
        if (!this->Ask(rejection, this->Question(kKind), this->session.currentNode, line)) return;
        if (IsBlankLine(line.c_str())) return this->Hide();
        this->SetText(line.c_str());
        this->Accept();
    }
};

using ConsoleProbWindow = ConsoleNumberWindow<IProbQuestionWindow, TQuestionKind::probability>;
using ConsoleExactValueWindow = ConsoleNumberWindow<IExactValueWindow, TQuestionKind::exactValue>;

class ConsoleParamWindow : public ConsoleEditWindow<IParamWindow> {
public:
    using ConsoleEditWindow::ConsoleEditWindow;

protected:
    void Present(const CString &rejection) override;
};

class ConsoleYesNoWindow : public ConsoleWindow<IYesNoQuestionWindow> {
public:
    using ConsoleWindow::ConsoleWindow;

protected:
    void Present(const CString &rejection) override;
};

class ConsoleIntervalWindow : public ConsoleWindow<IIntervalQuestionWindow> {
public:
    using ConsoleWindow::ConsoleWindow;
    void SetFromText(const CString &text) override { from = text; }
    CString FromText() const override { return from; }
    void SetToText(const CString &text) override { to = text; }
    CString ToText() const override { return to; }
    void FocusField(TIntervalField) override {}

protected:
    void Present(const CString &rejection) override;

private:
    CString from;
    CString to;
};

class ConsoleChoiceWindow : public ConsoleWindow<IChoiceQuestionWindow> {
public:
    using ConsoleWindow::ConsoleWindow;
    void SetOptions(const CStringVector &list) override;
    void Select(int32_t position) override { selection = position; }
    int32_t Selection() const override { return selection; }

protected:
    void Present(const CString &rejection) override;

private:
    CStringVector options;
    int32_t selection = -1;
};

// The taxonomy question: every hypothesis taxonomy in turn, one class
// question each, then "&OK".
class ConsoleTaxonomyList : public ITaxonomyListWindow {
public:
    void ShowRows(const std::vector<CTaxonomyListRow> &list) override { rows = list; }
    void SetCurrentRow(int32_t) override {}
    void ShowAndWait(ITaxonomyListEvents &events) override;
    void Hide() override { hidden = true; }

private:
    std::vector<CTaxonomyListRow> rows;
    bool hidden = true;
};

class ConsoleTaxonomyClassDialog : public ITaxonomyClassDialog {
public:
    explicit ConsoleTaxonomyClassDialog(ConsoleSession &session) : session(session) {}
    CTaxonomyClassAnswer ShowModal(const CTaxonomyTree &tree, const CString &rejection) override;

private:
    ConsoleSession &session;
};
