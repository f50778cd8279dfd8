// IParamWindow: the parameter question, asked for every `askparam`
// parameter of a knowledge base at the start of a consultation.
//
// Titled "Parameter Input", with the label "Enter parameter:", the
// description box showing the parameter's name, the edit field and the
// button "&Accept" (default). Every showing empties the field. Whatever the
// field holds when the window is hidden (accepted or closed) is the answer;
// only an abort discards it.
//
// On a console: the help line and prompt of TQuestionKind::parameter
// (ui/text_mode.h); the line typed, possibly empty, is put into the field
// and accepted.
#pragma once

#include "ui/edit_question_window.h"

class IParamWindow : public IEditQuestionWindow {
protected:
    void ResetInputs() final { SetText(CString()); }
};
