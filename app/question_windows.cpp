#include "app/question_windows.h"

TQuestionWindows::TQuestionWindows(QWidget *main)
    : probQuestion(new TfrmProbQuestion(main)), yesNoQuestion(new TfrmYesNoQuestion(main)),
      exactValue(new TfrmExactValue(main)), intervalQuestion(new TfrmOneIntervalAndCF(main)),
      choiceQuestion(new TfrmChoice(main)), paramQuestion(new TfrmParamString(main)),
      taxonomyList(new TfrmTaxList(main)), taxonomyClass(new TfrmAskTax(main)), messages(main),
      previous(CUserInterface::Current()) {
    CUserInterface &ui = CUserInterface::Current();
    ui.probQuestion = probQuestion;
    ui.yesNoQuestion = yesNoQuestion;
    ui.exactValue = exactValue;
    ui.intervalQuestion = intervalQuestion;
    ui.choiceQuestion = choiceQuestion;
    ui.paramQuestion = paramQuestion;
    ui.taxonomyList = taxonomyList;
    ui.taxonomyClass = taxonomyClass;
    ui.messages = &messages;
}

TQuestionWindows::~TQuestionWindows() { CUserInterface::Current() = previous; }
