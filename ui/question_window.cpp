#include "ui/question_window.h"

void IQuestionWindow::ShowAndWait(const CString &rejection) {
    aborted = false;
    dontKnow = true;
    ResetInputs();
    Present(rejection);
}

void IQuestionWindow::Accept() {
    dontKnow = false;
    Hide();
}

void IQuestionWindow::Abort() {
    aborted = true;
    Hide();
}
