// ICertaintyQuestionWindow: a question window with the row of eleven
// certainty buttons.
//
// The buttons, left to right, give the certainty factors -5 to 5 and close
// the window: the first is "&No" (hint "Surely NO"), the sixth "&Don't know"
// (hint "I do not know"), the last "&Yes" (hint "Surely YES") in the yes/no
// question and "&Sure" (hint "Value is SURELY in the interval") in the
// interval question; the eight others have the caption "." and no hint.
// There is no accept button. Every showing sets the factor to 0, so closing
// the window without a button gives 0.
//
// A front end reports a button with PressCertainty. A console passes on
// what the user typed, read with CertaintyFromText (ui/text_mode.h); the
// retriever refuses any factor that is not a whole number from -5 to 5.
#pragma once

#include "ui/question_window.h"

class ICertaintyQuestionWindow : public IQuestionWindow {
public:
    // A certainty button: records its factor and hides the window.
    void PressCertainty(float factor);

    float certainty = 0.0f;  // the factor of the button pressed

protected:
    void ResetInputs() final { certainty = 0.0f; }
};
