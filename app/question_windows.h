// TQuestionWindows: the question windows and dialogs of the desktop, created
// once at start-up over the main window. `Record` lists them as the
// retrievers expect them (ui/user_interface.h); the application hands a copy
// to the registry it makes.
#pragma once

#include <QWidget>
#include <vector>

#include "app/certainty_questions.h"
#include "app/choice_question.h"
#include "app/edit_questions.h"
#include "app/message_boxes.h"
#include "app/next_question_rows.h"
#include "app/taxonomy_class_dialog.h"
#include "app/taxonomy_list_dialog.h"
#include "ui/user_interface.h"

class TQuestionWindows {
public:
    explicit TQuestionWindows(QWidget *mainWindow);
    TQuestionWindows(const TQuestionWindows &) = delete;
    TQuestionWindows &operator=(const TQuestionWindows &) = delete;

    // Owned by the main window, as its children - but for the taxonomy
    // class dialog, which the list of taxonomies opens and which is that
    // dialog's child, so that it stays above it.
    TfrmProbQuestion *probQuestion;
    TfrmYesNoQuestion *yesNoQuestion;
    TfrmExactValue *exactValue;
    TfrmOneIntervalAndCF *intervalQuestion;
    TfrmChoice *choiceQuestion;
    TfrmParamString *paramQuestion;
    TfrmTaxList *taxonomyList;
    TfrmAskTax *taxonomyClass;
    TMessageBoxes messages;

    // The windows above, one pointer per kind of question.
    CUserInterface Record();
    // The windows that ask for a node's value, which show the next questions.
    std::vector<TfrmAbstractQuestion *> NodeQuestions() const;
    void ShowNextQuestions(const TNextQuestions &next);
};
