// IEditQuestionWindow: a question window with one edit field.
//
// The probability question, the exact-value question and the parameter
// question each collect one line of text. The window hands the text back as
// typed; the retriever converts and checks it. Each time the window is
// presented, the whole text of the field is selected (and the field has the
// focus), so that typing replaces it.
#pragma once

#include "foundation/cstring.h"
#include "ui/question_window.h"

class IEditQuestionWindow : public IQuestionWindow {
public:
    // Puts a text into the edit field.
    virtual void SetText(const CString &text) = 0;
    // The edit field's text as the user left it.
    virtual CString Text() const = 0;
};
