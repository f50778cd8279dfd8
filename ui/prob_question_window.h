// IProbQuestionWindow: the probability question.
//
// Titled "Question - probability", with the prompt "Enter the probability for
// node ", the description box, the edit field labelled "Probability:" and the
// buttons "&Accept" (default, Enter) and "Don't know" (Esc; hint "I do not
// know"). The retriever sets the field empty once per question and keeps the
// user's text when it asks again.
//
// On a console: the help line and prompt of TQuestionKind::probability
// (ui/text_mode.h); an empty line is "Don't know" (Hide), any other line is
// put into the field and accepted.
#pragma once

#include "ui/edit_question_window.h"

class IProbQuestionWindow : public IEditQuestionWindow {};
