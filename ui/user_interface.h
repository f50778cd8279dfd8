// CUserInterface: the windows through which the logic reaches the user.
//
// A front end (the desktop application, the console) creates its question
// windows and dialogs once at start-up and installs them here, before the
// first consultation; they stay installed until it exits:
//
//     CUserInterface &ui = CUserInterface::Current();
//     ui.probQuestion = &myProbWindow;   // ... one pointer per window
//
// The question, taxonomy and parameter retrievers look their window up here
// each time they ask, so the registry of retrievers can be created before or
// after the windows are installed. A retriever whose window is not installed
// cannot ask: its retrieval fails (2), so the next retriever of the node is
// tried. Nothing here is owned. Tests install fakes and restore the record
// afterwards.
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

    // The record of the process.
    static CUserInterface &Current();
};
