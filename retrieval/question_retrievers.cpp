#include "retrieval/question_retrievers.h"

#include <cmath>
#include <optional>

#include "foundation/number_text.h"
#include "net/node.h"
#include "retrieval/choice_abstract.h"
#include "retrieval/retrieved_data.h"
#include "tables/table_environment.h"
#include "ui/choice_question_window.h"
#include "ui/exact_value_window.h"
#include "ui/interval_question_window.h"
#include "ui/prob_question_window.h"
#include "ui/user_interface.h"
#include "ui/yes_no_question_window.h"

namespace {

CString DescriptionOf(const CNode &node) { return node.description.IsEmpty() ? node.name : node.description; }

void AbortQuestion(IQuestionWindow *window) {
    if (window != nullptr) window->Abort();
}

// One of the eleven factors of the certainty buttons.
bool IsCertaintyFactor(float factor) { return factor >= -5.0f && factor <= 5.0f && factor == std::floor(factor); }

// The answer of a question with one edit field.
struct NumberAnswer {
    double number = 0.0;
    bool dontKnow = false;
};

// Asks for a number in the window until the text is one (and lies in [0, 1]
// when `probability` is set) or the user does not know. 2 when aborted.
int32_t AskNumber(IEditQuestionWindow &window, const CNode &node, bool probability, NumberAnswer &answer) {
    window.SetDescription(DescriptionOf(node));
    window.SetText(CString());
    CString rejection;
    for (;;) {
        window.ShowAndWait(rejection);
        if (window.aborted) return 2;
        if (window.dontKnow) {
            answer = NumberAnswer{0.0, true};
            return 0;
        }
        const std::optional<double> number = ReadReal(window.Text().Text(), kTypedNumber);
        if (number && (!probability || (*number >= 0.0 && *number <= 1.0))) {
            answer = NumberAnswer{*number, false};
            return 0;
        }
        rejection = probability ? kProbabilityRefused : kNumberRefused;
    }
}

// Asks a number question and makes its record, a probability or a value.
template <typename Record>
int32_t RetrieveNumber(IEditQuestionWindow *window, CNode *node, bool probability, CRetrievedData *&out) {
    if (window == nullptr || node == nullptr) return 2;
    NumberAnswer answer;
    if (AskNumber(*window, *node, probability, answer) != 0) return 2;
    out = new Record(static_cast<float>(answer.number), node->prior, answer.dontKnow);
    return 0;
}

// Checks the interval window's answer; the empty text when it is acceptable,
// else the message, with the focus moved to the field at fault.
CString IntervalRejection(IIntervalQuestionWindow &window, double &from, double &to) {
    const std::optional<double> fromNumber = ReadReal(window.FromText().Text(), kTypedLeadingNumber);
    const std::optional<double> toNumber = ReadReal(window.ToText().Text(), kTypedLeadingNumber);
    if (!fromNumber) {
        window.FocusField(TIntervalField::from);
        return CString(kFromNotANumber);
    }
    if (!toNumber) {
        window.FocusField(TIntervalField::to);
        return CString(kToNotANumber);
    }
    from = *fromNumber;
    to = *toNumber;
    if (from > to) {
        window.FocusField(TIntervalField::from);
        return CString(kFromAboveTo);
    }
    if (!IsCertaintyFactor(window.certainty)) return CString(kCertaintyRefused);
    return CString();
}

// The question window of an answer kind, as the front end installed it;
// null when there is none.
IQuestionWindow *WindowOf(const CUserInterface &ui, CAnswerKind answer) {
    switch (answer) {
    case CAnswerKind::Probability: return ui.probQuestion;
    case CAnswerKind::CertaintyFactor: return ui.yesNoQuestion;
    case CAnswerKind::Value: return ui.exactValue;
    case CAnswerKind::Interval: return ui.intervalQuestion;
    case CAnswerKind::Choice: return ui.choiceQuestion;
    case CAnswerKind::DontKnow: break;
    }
    return nullptr;
}

// ---------------------------------------------------------------- certainty

int32_t AskCertainty(IYesNoQuestionWindow *window, CNode *node, CRetrievedData *&out) {
    if (window == nullptr || node == nullptr) return 2;
    window->SetDescription(DescriptionOf(*node));
    CString rejection;
    for (;;) {
        window->ShowAndWait(rejection);
        if (window->aborted) return 2;
        if (IsCertaintyFactor(window->certainty)) break;
        rejection = kCertaintyRefused;
    }
    out = new CRetrievedDataCertFact(window->certainty, node->prior);
    return 0;
}

// ---------------------------------------------------------------- interval

int32_t AskInterval(IIntervalQuestionWindow *window, CNode *node, CRetrievedData *&out) {
    if (window == nullptr || node == nullptr) return 2;
    window->SetDescription(DescriptionOf(*node));
    window->SetFromText(CString());
    window->SetToText(CString());
    double from = 0.0, to = 0.0;
    CString rejection;
    do {
        window->ShowAndWait(rejection);
        if (window->aborted) return 2;
        rejection = IntervalRejection(*window, from, to);
    } while (!rejection.IsEmpty());
    out = new CRetrievedDataInterval(static_cast<float>(from), static_cast<float>(to), window->certainty);
    return 0;
}

// ---------------------------------------------------------------- choice

int32_t AskChoice(IChoiceQuestionWindow *window, CNode *node, CParamRecord *data, CRetrievedData *&out) {
    auto *list = dynamic_cast<CChoiceList *>(data);
    if (window == nullptr || node == nullptr || list == nullptr) return 2;
    window->SetOptions(list->options);
    window->SetDescription(DescriptionOf(*node));
    CString rejection;
    int32_t selection = 0;
    for (;;) {
        window->ShowAndWait(rejection);
        if (window->aborted) return 2;
        selection = window->Selection();
        const bool isOption = selection >= 0 && selection < list->count;
        if (isOption || window->dontKnow) break;
        rejection = kChoiceRefused;
    }
    // A don't-know answer carries no option; its index is not read.
    const int32_t index = selection >= 0 && selection < list->count ? selection : 0;
    out = new CRetrievedDataChoice(index, node->prior, window->dontKnow);
    return 0;
}

}  // namespace

void CDRQuestion::Cancel() { AbortQuestion(WindowOf(ui, row.answer)); }

int32_t CDRQuestion::Retrieve(CNode *node, CInferenceNet * /*net*/, CTable * /*table*/, CParamRecord *data,
                              CRetrievedData *&out) {
    if (tables != nullptr) tables->BeforeWaitingForUser();
    switch (row.answer) {
    case CAnswerKind::Probability: return RetrieveNumber<CRetrievedDataProb>(ui.probQuestion, node, true, out);
    case CAnswerKind::CertaintyFactor: return AskCertainty(ui.yesNoQuestion, node, out);
    case CAnswerKind::Value: return RetrieveNumber<CRetrievedDataValue>(ui.exactValue, node, false, out);
    case CAnswerKind::Interval: return AskInterval(ui.intervalQuestion, node, out);
    case CAnswerKind::Choice: return AskChoice(ui.choiceQuestion, node, data, out);
    case CAnswerKind::DontKnow: break;
    }
    return 2;
}

int32_t CDRQuestion::GetNames(CString &retrieverName, CString &translatorName) {
    IQuestionWindow *window = WindowOf(ui, row.answer);
    if (window != nullptr) window->CentreOverMainWindow();
    return CRowRetriever::GetNames(retrieverName, translatorName);
}
