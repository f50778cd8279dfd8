// CParamRetrieverWin: asks the user for the value of one `askparam`
// parameter, in the parameter window (ui/param_window.h) of the front end's record
// of windows.
//
// The window shows the parameter's name and an empty field; whatever the
// field holds when the window is hidden, also an empty text, becomes the
// parameter's value. An aborted question stores nothing and fails (2), as
// does a parameter window that is not installed.
#pragma once

#include "retrieval/param_retriever.h"
#include "ui/user_interface.h"

class CTableEnvironment;

class CParamRetrieverWin : public CParamRetriever {
public:
    // `ui` is the front end's record of windows; it must outlive the
    // retriever, as must `tables` (may be null), told before every question.
    explicit CParamRetrieverWin(const CUserInterface &ui, CTableEnvironment *tables = nullptr) : ui(ui), tables(tables) {}

    // Marks the window aborted and hides it, ending a running question.
    void Cancel() override;
    int32_t Retrieve(CParamAsk *ask, CParameters *parameters) override;

private:
    const CUserInterface &ui;
    CTableEnvironment *tables;
};
