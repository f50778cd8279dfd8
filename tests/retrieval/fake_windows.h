// Scripted fake windows for the question, taxonomy and parameter retrievers.
//
// A fake window plays one scripted step each time it is presented: the step
// does what a user would (types a text and accepts, presses a button, closes
// the window) or what the rest of the program would do meanwhile (abort the
// consultation). The fake records what it was shown. A step that leaves the
// window visible, or a showing beyond the script, fails the test and aborts
// the question, so that a retriever that keeps asking cannot hang the tests.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/string_collections.h"
#include "ui/choice_question_window.h"
#include "ui/exact_value_window.h"
#include "ui/interval_question_window.h"
#include "ui/param_window.h"
#include "ui/prob_question_window.h"
#include "ui/taxonomy_class_dialog.h"
#include "ui/taxonomy_list_window.h"
#include "ui/user_interface.h"
#include "ui/yes_no_question_window.h"

namespace retrieval_test {

// The common part: the script, the record of showings, visibility.
template <typename Window>
class Scripted : public Window {
public:
    using Step = std::function<void(Scripted &)>;

    void SetDescription(const CString &text) override { description = text.Text(); }
    void Hide() override { visible = false; }
    void CentreOverMainWindow() override { ++centred; }

    // Appends steps to the script.
    Scripted &Then(Step step) {
        script.push_back(std::move(step));
        return *this;
    }

    std::string description;
    std::vector<std::string> rejections;  // one per showing; "" for none
    bool visible = false;
    int centred = 0;
    // Called at every showing before the step, for windows that record more.
    std::function<void()> onShow;

protected:
    void Present(const CString &rejection) override {
        rejections.emplace_back(rejection.Text());
        visible = true;
        if (onShow) onShow();
        if (script.empty()) {
            ADD_FAILURE() << "shown more often than scripted";
            this->Abort();
            return;
        }
        Step step = std::move(script.front());
        script.pop_front();
        step(*this);
        if (visible) {
            ADD_FAILURE() << "a step left the window waiting";
            this->Abort();
        }
    }

private:
    std::deque<Step> script;
};

// A window with one edit field.
template <typename Window>
class FakeEditWindow : public Scripted<Window> {
public:
    void SetText(const CString &value) override { text = value.Text(); }
    CString Text() const override { return CString(text.c_str()); }

    // The user types over the field and accepts.
    FakeEditWindow &Type(const std::string &typed) {
        this->Then([typed](Scripted<Window> &window) {
            window.SetText(CString(typed.c_str()));
            window.Accept();
        });
        return *this;
    }
    // The user closes the window without accepting ("Don't know", close box).
    FakeEditWindow &CloseIt() {
        this->Then([](Scripted<Window> &window) { window.Hide(); });
        return *this;
    }
    // The user accepts what the field holds.
    FakeEditWindow &AcceptAsIs() {
        this->Then([](Scripted<Window> &window) { window.Accept(); });
        return *this;
    }

    std::string text;
};

using FakeProbWindow = FakeEditWindow<IProbQuestionWindow>;
using FakeValueWindow = FakeEditWindow<IExactValueWindow>;
using FakeParamWindow = FakeEditWindow<IParamWindow>;

class FakeYesNoWindow : public Scripted<IYesNoQuestionWindow> {
public:
    FakeYesNoWindow &Press(float factor) {
        Then([factor](Scripted &window) { window.PressCertainty(factor); });
        return *this;
    }
    FakeYesNoWindow &CloseIt() {
        Then([](Scripted &window) { window.Hide(); });
        return *this;
    }
};

class FakeIntervalWindow : public Scripted<IIntervalQuestionWindow> {
public:
    void SetFromText(const CString &text) override { from = text.Text(); }
    CString FromText() const override { return CString(from.c_str()); }
    void SetToText(const CString &text) override { to = text.Text(); }
    CString ToText() const override { return CString(to.c_str()); }
    void FocusField(TIntervalField field) override { focus.push_back(field); }

    // The user fills both fields and presses a certainty button.
    FakeIntervalWindow &Enter(const std::string &fromText, const std::string &toText, float factor) {
        Then([fromText, toText, factor](Scripted &window) {
            auto &self = static_cast<FakeIntervalWindow &>(window);
            self.from = fromText;
            self.to = toText;
            self.PressCertainty(factor);
        });
        return *this;
    }

    std::string from;
    std::string to;
    std::vector<TIntervalField> focus;
};

class FakeChoiceWindow : public Scripted<IChoiceQuestionWindow> {
public:
    void SetOptions(const CStringVector &shown) override {
        options.clear();
        for (int32_t i = 0; i < shown.Count(); ++i) options.emplace_back(shown.At(i).Text());
    }
    void Select(int32_t position) override { selection = position; }
    int32_t Selection() const override { return selection; }

    // The user selects an option (or, from a console, a position that is none)
    // and accepts.
    FakeChoiceWindow &Choose(int32_t position) {
        Then([position](Scripted &window) {
            window.Select(position);
            window.Accept();
        });
        return *this;
    }
    FakeChoiceWindow &AcceptAsIs() {
        Then([](Scripted &window) { window.Accept(); });
        return *this;
    }
    FakeChoiceWindow &CloseIt() {
        Then([](Scripted &window) { window.Hide(); });
        return *this;
    }

    std::vector<std::string> options;
    int32_t selection = -5;
};

}  // namespace retrieval_test
