// Scripted windows for the consultation tests: every question takes the
// next answer of one shared script and writes what it was asked into a log;
// the view and the message boxes record what the driver showed. `ui` lists
// the windows for the registry that is to ask them.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/choice_question_window.h"
#include "ui/consultation_view.h"
#include "ui/exact_value_window.h"
#include "ui/message_box.h"
#include "ui/param_window.h"
#include "ui/prob_question_window.h"
#include "ui/taxonomy_class_dialog.h"
#include "ui/taxonomy_list_window.h"
#include "ui/user_interface.h"
#include "ui/yes_no_question_window.h"

// One answer: a line to type, "Don't know", or the user's Abort command
// while the question waits.
struct Answer {
    enum Kind { text, dontKnow, abort } kind = text;
    std::string line;
};
inline Answer Typed(const std::string &line) { return {Answer::text, line}; }
inline Answer DontKnow() { return {Answer::dontKnow, ""}; }
inline Answer AbortNow() { return {Answer::abort, ""}; }

struct Script {
    std::deque<Answer> answers;
    std::vector<std::string> asked;       // "kind: description" per showing
    std::vector<std::string> rejections;  // the messages shown with a question
    std::function<void()> abort;          // the consultation's Abort command

    // The next answer for a question; a question beyond the script aborts.
    Answer Next(const std::string &kind, const std::string &description, const CString &rejection) {
        asked.push_back(kind + ": " + description);
        if (!rejection.IsEmpty()) rejections.push_back(rejection.Text());
        if (answers.empty()) return AbortNow();
        Answer next = answers.front();
        answers.pop_front();
        return next;
    }
};

// Acts out an answer on a question window; `type` puts a typed line in.
template <typename Window>
void ActOut(Window &window, Script &script, const Answer &answer, const std::function<void()> &type) {
    switch (answer.kind) {
    case Answer::text: type(); break;
    case Answer::dontKnow: window.Hide(); break;
    case Answer::abort:
        if (script.abort) script.abort();
        if (!window.aborted) window.Abort();  // no consultation to abort
        break;
    }
}

template <typename Window>
class FakeQuestion : public Window {
public:
    FakeQuestion(Script &script, const char *kind) : script(script), kind(kind) {}
    void SetDescription(const CString &text) override { description = text.Text(); }
    void Hide() override { ++hides; }

    int hides = 0;

protected:
    Answer NextAnswer(const CString &rejection) { return script.Next(kind, description, rejection); }

    Script &script;
    std::string kind;
    std::string description;
};

template <typename Window>
class FakeEditQuestion : public FakeQuestion<Window> {
public:
    using FakeQuestion<Window>::FakeQuestion;
    void SetText(const CString &text) override { field = text.Text(); }
    CString Text() const override { return field.c_str(); }

protected:
    void Present(const CString &rejection) override {
        const Answer answer = this->NextAnswer(rejection);
        ActOut(*this, this->script, answer, [&] {
            field = answer.line;
            this->Accept();
        });
    }

private:
    std::string field;
};

class FakeYesNo : public FakeQuestion<IYesNoQuestionWindow> {
public:
    using FakeQuestion::FakeQuestion;

protected:
    void Present(const CString &rejection) override {
        const Answer answer = NextAnswer(rejection);
        ActOut(*this, script, answer, [&] { PressCertainty(std::stof(answer.line)); });
    }
};

class FakeChoice : public FakeQuestion<IChoiceQuestionWindow> {
public:
    using FakeQuestion::FakeQuestion;
    void SetOptions(const CStringVector &) override {}
    void Select(int32_t position) override { selection = position; }
    int32_t Selection() const override { return selection; }

protected:
    void Present(const CString &rejection) override {
        const Answer answer = NextAnswer(rejection);
        ActOut(*this, script, answer, [&] {
            Select(std::stoi(answer.line) - 1);
            Accept();
        });
    }

private:
    int32_t selection = -1;
};

// The taxonomy question: one class name per taxonomy from the script (an
// empty line for none), then "&OK".
class FakeTaxonomyList : public ITaxonomyListWindow, public ITaxonomyClassDialog {
public:
    explicit FakeTaxonomyList(Script &script) : script(script) {}
    void ShowRows(const std::vector<CTaxonomyListRow> &list) override { rows = list; }
    void SetCurrentRow(int32_t) override {}
    void ShowAndWait(ITaxonomyListEvents &events) override {
        hidden = false;
        for (size_t row = 0; row < rows.size() && !hidden; ++row) events.ChooseClass(static_cast<int32_t>(row));
        if (!hidden) events.Ok();
    }
    void Hide() override { hidden = true; }

    CTaxonomyClassAnswer ShowModal(const CTaxonomyTree &tree, const CString &rejection) override {
        const Answer answer = script.Next("taxonomy", tree.front().name.Text(), rejection);
        CTaxonomyClassAnswer result;
        if (answer.kind == Answer::abort) {
            if (script.abort) script.abort();
            return result;
        }
        result.accepted = true;
        result.none = answer.kind == Answer::dontKnow || answer.line.empty();
        result.className = answer.line.c_str();
        return result;
    }

private:
    Script &script;
    std::vector<CTaxonomyListRow> rows;
    bool hidden = true;
};

class FakeView : public IConsultationView {
public:
    void SetStatusText(const CString &text) override { statuses.push_back(text.Text()); }
    bool ListShown(TConsultationList list) const override { return shown.count(list) == 0 || shown.at(list); }
    void SetRows(TConsultationList list, const std::vector<CGridRow> &newRows) override {
        rows[list] = Texts(newRows);
        ++fills[list];
    }
    void SetInvestigatedGoal(const CString &text) override { goalLabel = text.Text(); }
    void SetInvestigatedNode(const CString &text) override { nodeLabel = text.Text(); }
    void ShowPage(const CString &path) override { pages.push_back(path.Text()); }
    bool DisplaysRows() const override { return displaysRows; }
    bool ShowsPages() const override { return showsPages; }
    void SetRunning(bool value) override { running.push_back(value); }
    void ShowResult(const std::vector<CGridRow> &newRows) override {
        result = Texts(newRows);
        ++results;
    }

    static std::vector<std::vector<std::string>> Texts(const std::vector<CGridRow> &grid) {
        std::vector<std::vector<std::string>> texts;
        for (const CGridRow &row : grid) {
            texts.emplace_back();
            for (const CString &cell : row) texts.back().push_back(cell.Text());
        }
        return texts;
    }

    std::map<TConsultationList, bool> shown;
    bool displaysRows = true;
    bool showsPages = true;
    std::vector<std::string> statuses;
    std::map<TConsultationList, std::vector<std::vector<std::string>>> rows;
    std::map<TConsultationList, int> fills;
    std::string goalLabel;
    std::string nodeLabel;
    std::vector<std::string> pages;
    std::vector<bool> running;
    std::vector<std::vector<std::string>> result;
    int results = 0;
};

class FakeMessages : public IMessageBox {
public:
    void ShowMessage(const CString &text, const CString &, TMessageIcon) override { shown.push_back(text.Text()); }
    TYesNoCancel AskYesNoCancel(const CString &question, const CString &title) override {
        questions.push_back(std::string(title.Text()) + ": " + question.Text());
        return reply;
    }

    std::vector<std::string> shown;
    std::vector<std::string> questions;
    TYesNoCancel reply = TYesNoCancel::cancel;
};

// The windows, and the record through which a registry asks them.
class FakeUi {
public:
    FakeUi()
        : prob(script, "prob"), value(script, "value"), yesNo(script, "cf"), choice(script, "choice"),
          param(script, "param"), taxonomy(script) {
        ui.probQuestion = &prob;
        ui.exactValue = &value;
        ui.yesNoQuestion = &yesNo;
        ui.choiceQuestion = &choice;
        ui.paramQuestion = &param;
        ui.taxonomyList = &taxonomy;
        ui.taxonomyClass = &taxonomy;
        ui.messages = &messages;
    }
    FakeUi(const FakeUi &) = delete;
    FakeUi &operator=(const FakeUi &) = delete;

    Script script;
    FakeEditQuestion<IProbQuestionWindow> prob;
    FakeEditQuestion<IExactValueWindow> value;
    FakeYesNo yesNo;
    FakeChoice choice;
    FakeEditQuestion<IParamWindow> param;
    FakeTaxonomyList taxonomy;
    FakeView view;
    FakeMessages messages;
    // The windows above; a test may take one out to make its question fail.
    CUserInterface ui;
};
