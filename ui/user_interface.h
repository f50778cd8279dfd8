// CUserInterface: the windows through which the logic reaches the user.
//
// A front end (the desktop application, the console) owns one record, fills
// in its question windows and dialogs, and hands the record to the registry
// of retrievers it makes (retrieval/all_retrievers.h):
//
//     CUserInterface ui;
//     ui.probQuestion = &myProbWindow;   // ... one pointer per window
//     CAllRetrieversWin registry(ui, tableEnvironment);
//
// The question, taxonomy and parameter retrievers keep a reference to the
// record and look their window up each time they ask, so a window may be
// installed after the registry was made. A retriever whose window is not
// installed cannot ask: its retrieval fails (2), so the next retriever of the
// node is tried. Nothing here is owned, and nothing is shared between two
// records: two front ends in one process (two threads, two tests) each have
// their own.
#pragma once

class IProbQuestionWindow;
class IYesNoQuestionWindow;
class IExactValueWindow;
class IIntervalQuestionWindow;
class IChoiceQuestionWindow;
class IParamWindow;
class ITaxonomyListWindow;
class ITaxonomyClassDialog;
class IMessageBox;

struct CUserInterface {
    // The question windows of the node questions
    IProbQuestionWindow *probQuestion = nullptr;
    IYesNoQuestionWindow *yesNoQuestion = nullptr;
    IExactValueWindow *exactValue = nullptr;
    IIntervalQuestionWindow *intervalQuestion = nullptr;
    IChoiceQuestionWindow *choiceQuestion = nullptr;
    // The questions that are not about a node
    IParamWindow *paramQuestion = nullptr;
    ITaxonomyListWindow *taxonomyList = nullptr;
    ITaxonomyClassDialog *taxonomyClass = nullptr;
    // Message boxes
    IMessageBox *messages = nullptr;
};
