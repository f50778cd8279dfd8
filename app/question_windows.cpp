#include "app/question_windows.h"

TQuestionWindows::TQuestionWindows(QWidget *main)
    : probQuestion(new TfrmProbQuestion(main)), yesNoQuestion(new TfrmYesNoQuestion(main)),
      exactValue(new TfrmExactValue(main)), intervalQuestion(new TfrmOneIntervalAndCF(main)),
      choiceQuestion(new TfrmChoice(main)), paramQuestion(new TfrmParamString(main)),
      taxonomyList(new TfrmTaxList(main)), taxonomyClass(new TfrmAskTax(main, taxonomyList)), messages(main) {}

CUserInterface TQuestionWindows::Record() {
    CUserInterface record;
    record.probQuestion = probQuestion;
    record.yesNoQuestion = yesNoQuestion;
    record.exactValue = exactValue;
    record.intervalQuestion = intervalQuestion;
    record.choiceQuestion = choiceQuestion;
    record.paramQuestion = paramQuestion;
    record.taxonomyList = taxonomyList;
    record.taxonomyClass = taxonomyClass;
    record.messages = &messages;
    return record;
}

std::vector<TfrmAbstractQuestion *> TQuestionWindows::NodeQuestions() const {
    return {probQuestion, yesNoQuestion, exactValue, intervalQuestion, choiceQuestion};
}

void TQuestionWindows::ShowNextQuestions(const TNextQuestions &next) {
    for (TfrmAbstractQuestion *question : NodeQuestions()) question->ShowNextQuestions(next);
}
