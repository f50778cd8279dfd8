// TQuestionWindows: the question windows and dialogs of the desktop, created
// once at start-up over the main window and installed in the process's
// user-interface record (ui/user_interface.h), where the retrievers find
// them. Destroying the set puts back the record as it was before.
#pragma once

#include <QWidget>

#include "app/certainty_questions.h"
#include "app/choice_question.h"
#include "app/edit_questions.h"
#include "app/message_boxes.h"
#include "app/taxonomy_class_dialog.h"
#include "app/taxonomy_list_dialog.h"
#include "ui/user_interface.h"

class TQuestionWindows {
public:
    explicit TQuestionWindows(QWidget *mainWindow);
    ~TQuestionWindows();
    TQuestionWindows(const TQuestionWindows &) = delete;
    TQuestionWindows &operator=(const TQuestionWindows &) = delete;

    // Owned by the main window, as its children.
    TfrmProbQuestion *probQuestion;
    TfrmYesNoQuestion *yesNoQuestion;
    TfrmExactValue *exactValue;
    TfrmOneIntervalAndCF *intervalQuestion;
    TfrmChoice *choiceQuestion;
    TfrmParamString *paramQuestion;
    TfrmTaxList *taxonomyList;
    TfrmAskTax *taxonomyClass;
    TMessageBoxes messages;

private:
    CUserInterface previous;
};
