// IIntervalQuestionWindow: the interval question.
//
// Titled "Question - one interval", with the prompt "Enter interval with
// certainity factor...", the description box, the edit fields "From:" and
// "To:", and the eleven certainty buttons (ui/certainty_question_window.h),
// which close the window. The fields hand back the text as typed; the
// retriever converts them and asks again, with a message and the focus on the
// field at fault, until both are numbers and From is not above To. Even
// "&Don't know" needs an interval.
//
// On a console: the help line and prompt of TQuestionKind::interval
// (ui/text_mode.h); the line is split with SplitIntervalAnswer into the two
// fields and the certainty factor, which is then pressed. An empty line gives
// two empty fields, which the retriever refuses.
#pragma once

#include "foundation/cstring.h"
#include "ui/certainty_question_window.h"

enum class TIntervalField { from, to };

class IIntervalQuestionWindow : public ICertaintyQuestionWindow {
public:
    virtual void SetFromText(const CString &text) = 0;
    virtual CString FromText() const = 0;
    virtual void SetToText(const CString &text) = 0;
    virtual CString ToText() const = 0;
    // The field that has the focus when the window is next presented.
    virtual void FocusField(TIntervalField field) = 0;
};
