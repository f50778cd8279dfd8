// Text questions: the question windows of a front end that asks in lines of
// text rather than in windows - the console, a stream of cases, a program
// that embeds the core.
//
// Each window puts its question into words as the console prints it (help
// line and prompt; the choice question with its numbered options, the
// taxonomy question with its class tree), hands it to an ITextAnswerer, and
// gives the line it gets back to the window interface as the desktop window
// would. Checking the line and asking again belong to the retrievers. The
// answerer decides where lines come from: a terminal, scripted answers, a
// callback of the embedding program.
#pragma once

#include <string>
#include <vector>

#include "ui/choice_question_window.h"
#include "ui/exact_value_window.h"
#include "ui/interval_question_window.h"
#include "ui/param_window.h"
#include "ui/prob_question_window.h"
#include "ui/taxonomy_class_dialog.h"
#include "ui/taxonomy_list_window.h"
#include "ui/text_mode.h"
#include "ui/user_interface.h"
#include "ui/yes_no_question_window.h"

// One question as text.
struct CTextQuestion {
    TQuestionKind kind = TQuestionKind::probability;
    // What an answer is looked up by: the node's name (node questions), the
    // parameter's name or the taxonomy's name.
    std::string name;
    // The question as the console prints it: help line and prompt, with the
    // options or the class tree, ending with the prompt's ">".
    std::string text;
    // The description the prompt shows (the parameter's, the taxonomy's name).
    std::string subject;
    // The help line, without its line end.
    std::string help;
    // The choice question's options, or the taxonomy's classes in tree order.
    std::vector<std::string> options;
    // Why the last line was refused; empty when the question is new.
    std::string rejection;
};

class ITextAnswerer {
public:
    virtual ~ITextAnswerer() = default;
    // The line for `question`, as a user would type it; an empty line is
    // "Don't know" (for a parameter the empty value, for a taxonomy no
    // class). False to abort the consultation instead; the driver's abort is
    // then requested by the answerer or by whoever passed the question on.
    virtual bool Answer(const CTextQuestion &question, std::string &line) = 0;
};

// What every text question window shares: the description it shows and
// the answerer it asks. Hiding has nothing to take off the screen.
template <typename Window>
class CTextWindow : public Window {
public:
    // `currentNode` is the node under investigation, kept by the front end's
    // consultation view; a node question is asked about it.
    CTextWindow(ITextAnswerer &answerer, const std::string &currentNode)
        : answerer(answerer), currentNode(currentNode) {}

    void SetDescription(const CString &text) override { description = text; }
    void Hide() override {}

protected:
    // Asks the question; false when the consultation was aborted instead,
    // after aborting this window too.
    bool Ask(CTextQuestion question, const CString &rejection, std::string &line);
    // A node question of `kind` about the current node: help line then
    // prompt, with the description in the prompt.
    CTextQuestion NodeQuestion(TQuestionKind kind) const;

    ITextAnswerer &answerer;
    const std::string &currentNode;
    CString description;
};

// A window with one edit field.
template <typename Window>
class CTextEditWindow : public CTextWindow<Window> {
public:
    using CTextWindow<Window>::CTextWindow;
    void SetText(const CString &text) override { field = text; }
    CString Text() const override { return field; }

private:
    CString field;
};

template <typename Window>
bool CTextWindow<Window>::Ask(CTextQuestion question, const CString &rejection, std::string &line) {
    question.rejection = rejection.Text();
    if (answerer.Answer(question, line)) return true;
    // The abort cancels the asking retriever, which aborts its window; this
    // makes sure of it whichever retriever was asking.
    if (!this->aborted) this->Abort();
    return false;
}

// The help line without its line end.
std::string TextHelp(TQuestionKind kind);

template <typename Window>
CTextQuestion CTextWindow<Window>::NodeQuestion(TQuestionKind kind) const {
    CTextQuestion question;
    question.kind = kind;
    question.name = currentNode;
    question.subject = description.Text();
    question.help = TextHelp(kind);
    question.text = std::string(TextHelpLine(kind).Text()) + TextPrompt(kind, description).Text();
    return question;
}

// The probability and exact-value questions: a blank line is "Don't know",
// any other line goes into the field and is accepted.
template <typename Window, TQuestionKind kKind>
class CTextNumberWindow : public CTextEditWindow<Window> {
public:
    using CTextEditWindow<Window>::CTextEditWindow;

protected:
    void Present(const CString &rejection) override {
        std::string line;
        if (!this->Ask(this->NodeQuestion(kKind), rejection, line)) return;
        if (IsBlankLine(line.c_str())) return this->Hide();
        this->SetText(line.c_str());
        this->Accept();
    }
};

using CTextProbWindow = CTextNumberWindow<IProbQuestionWindow, TQuestionKind::probability>;
using CTextExactValueWindow = CTextNumberWindow<IExactValueWindow, TQuestionKind::exactValue>;

class CTextParamWindow : public CTextEditWindow<IParamWindow> {
public:
    using CTextEditWindow::CTextEditWindow;

protected:
    void Present(const CString &rejection) override;
};

class CTextYesNoWindow : public CTextWindow<IYesNoQuestionWindow> {
public:
    using CTextWindow::CTextWindow;

protected:
    void Present(const CString &rejection) override;
};

class CTextIntervalWindow : public CTextWindow<IIntervalQuestionWindow> {
public:
    using CTextWindow::CTextWindow;
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

class CTextChoiceWindow : public CTextWindow<IChoiceQuestionWindow> {
public:
    using CTextWindow::CTextWindow;
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
class CTextTaxonomyList : public ITaxonomyListWindow {
public:
    void ShowRows(const std::vector<CTaxonomyListRow> &list) override { rows = list; }
    void SetCurrentRow(int32_t) override {}
    void ShowAndWait(ITaxonomyListEvents &events) override;
    void Hide() override { hidden = true; }

private:
    std::vector<CTaxonomyListRow> rows;
    bool hidden = true;
};

class CTextTaxonomyClassDialog : public ITaxonomyClassDialog {
public:
    explicit CTextTaxonomyClassDialog(ITextAnswerer &answerer) : answerer(answerer) {}
    CTaxonomyClassAnswer ShowModal(const CTaxonomyTree &tree, const CString &rejection) override;

private:
    ITextAnswerer &answerer;
};

// Every text window, and the record through which the retrievers ask them.
class CTextQuestionWindows {
public:
    // Neither the answerer nor the message boxes are owned.
    CTextQuestionWindows(ITextAnswerer &answerer, const std::string &currentNode, IMessageBox &messages);
    CTextQuestionWindows(const CTextQuestionWindows &) = delete;
    CTextQuestionWindows &operator=(const CTextQuestionWindows &) = delete;

    const CUserInterface &Record() const { return ui; }

private:
    CTextProbWindow prob;
    CTextYesNoWindow yesNo;
    CTextExactValueWindow exactValue;
    CTextIntervalWindow interval;
    CTextChoiceWindow choice;
    CTextParamWindow param;
    CTextTaxonomyList taxonomyList;
    CTextTaxonomyClassDialog taxonomyClass;
    CUserInterface ui;
};
