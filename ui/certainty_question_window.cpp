#include "ui/certainty_question_window.h"

void ICertaintyQuestionWindow::PressCertainty(float factor) {
    certainty = factor;
    Hide();
}
