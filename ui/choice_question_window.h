// IChoiceQuestionWindow: the choice question.
//
// Titled "Question - choice...", with the prompt "Select your choice...", the
// description box, a single-selection list of the options and the buttons
// "&Accept" (default; a double click on an option does the same) and "Don't
// know" (hint "I do not know"). Every showing selects the first option and
// puts the focus on the list. The window hands back the selected position;
// the retriever refuses a position that is not an option.
//
// On a console: the options are listed numbered from 1 with the help line and
// prompt of TQuestionKind::choice (ui/text_mode.h); an empty line is "Don't
// know" (Hide), any other line selects ChoiceFromText's position and is
// accepted.
#pragma once

#include <cstdint>

#include "foundation/string_collections.h"
#include "ui/question_window.h"

class IChoiceQuestionWindow : public IQuestionWindow {
public:
    // Fills the list with the options, in order.
    virtual void SetOptions(const CStringVector &options) = 0;
    // Selects the option at a zero-based position (-1: none).
    virtual void Select(int32_t position) = 0;
    // The zero-based position of the selected option, -1 when none is.
    virtual int32_t Selection() const = 0;

protected:
    void ResetInputs() final { Select(0); }
};
