// IYesNoQuestionWindow: the certainty question ("how sure is it that ...").
//
// Titled "Question - yes/no", with the prompt "How certain are you, that",
// the description box and the eleven certainty buttons
// (ui/certainty_question_window.h). Asked once; no validation on a desktop.
//
// On a console: the help line and prompt of TQuestionKind::certainty
// (ui/text_mode.h); an empty line closes the window (factor 0, don't know),
// any other line is pressed as CertaintyFromText reads it.
#pragma once

#include "ui/certainty_question_window.h"

class IYesNoQuestionWindow : public ICertaintyQuestionWindow {};
