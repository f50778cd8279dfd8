// IExactValueWindow: the exact-value question.
//
// Titled "Question - exact value", with the prompt "Enter exact value...",
// the description box, the edit field labelled "Value:" and the buttons
// "&Accept" (default) and "Don't know" (hint "I do not know"). The retriever
// sets the field empty once per question and keeps the user's text when it
// asks again.
//
// On a console: the help line and prompt of TQuestionKind::exactValue
// (ui/text_mode.h); an empty line is "Don't know" (Hide), any other line is
// put into the field and accepted.
#pragma once

#include "ui/edit_question_window.h"

class IExactValueWindow : public IEditQuestionWindow {};
