// The question retrievers: a node's evidence asked of the user.
//
// One class serves them all; its row (retrieval/registry_rows.h) names the
// retriever and its translator, and the kind of answer selects the question.
// Each retriever asks through the one question window of its kind in the
// front end's record of windows (ui/user_interface.h), given at construction: it fills the window with the
// node's description (its name when the knowledge base gives none), shows it
// and waits, checks what the user entered and asks again with a message until
// the input is acceptable, and returns a retrieved-data record for the node's
// translator. Without an installed window, or when the question is aborted,
// the retrieval fails (2) and the node's next retriever is tried.
//
//   "winprob"      probability in [0, 1], or don't know   -> "prob"
//   "wincf"        certainty factor -5..5                  -> "cf"
//   "winvalue"     a number, or don't know                 -> "value"
//   "wins"         the same question                       -> "value"
//   "winvaluex"    the same question                       -> "valuex"
//   "winsx"        the same question                       -> "valuex"
//   "wininterval"  From, To and a certainty factor         -> "interval"
//   "winq"         the same question                       -> "interval"
//   "winchoice"    one of the node's options, or don't know -> "choice";
//                  reads the option list like every choice retriever
//
// `Cancel` aborts the question being asked: it marks the window aborted and
// hides it, which ends the wait; the retrieval then returns 2 at once.
// `GetNames` also centres the retriever's window over the main window.
#pragma once

#include <cstdint>

#include "retrieval/row_retriever.h"
#include "ui/user_interface.h"

class CTableEnvironment;

// The messages with which a refused input is asked again.
inline constexpr const char *kProbabilityRefused = "Enter a real number from <0,1> !";
inline constexpr const char *kNumberRefused = "Enter a number!";
inline constexpr const char *kFromNotANumber = "\"From\" must be a number!";
inline constexpr const char *kToNotANumber = "\"To\" must be a number!";
inline constexpr const char *kFromAboveTo = "\"From\" must be less then \"To\"!";
// Refusals that only a console can provoke, by typing what no button gives.
inline constexpr const char *kCertaintyRefused = "Enter a whole number from -5 to 5!";
inline constexpr const char *kChoiceRefused = "Enter the number of one of the choices!";

// `data` is the node's option list (CChoiceList) for a choice; without one
// that retrieval fails.
class CDRQuestion : public CRowRetriever {
public:
    // `ui` is the front end's record of windows; it must outlive the
    // retriever, as must `tables` (may be null), told before every question.
    CDRQuestion(const CRetrieverRow &retrieverRow, const CUserInterface &ui, CTableEnvironment *tables = nullptr)
        : CRowRetriever(retrieverRow), ui(ui), tables(tables) {}

    void Cancel() override;
    int32_t Retrieve(CNode *node, CInferenceNet *net, CTable *table, CParamRecord *data,
                     CRetrievedData *&out) override;
    int32_t GetNames(CString &retrieverName, CString &translatorName) override;

private:
    const CUserInterface &ui;
    CTableEnvironment *tables;
};
