#include "retrieval/param_retriever_win.h"

#include "net/params.h"
#include "tables/table_environment.h"
#include "ui/param_window.h"

void CParamRetrieverWin::Cancel() {
    if (IParamWindow *window = ui.paramQuestion) window->Abort();
}

int32_t CParamRetrieverWin::Retrieve(CParamAsk *ask, CParameters *parameters) {
    IParamWindow *window = ui.paramQuestion;
    if (window == nullptr || ask == nullptr || parameters == nullptr) return 2;
    window->SetDescription(ask->name);
    if (tables != nullptr) tables->BeforeWaitingForUser();
    window->ShowAndWait();
    if (window->aborted) return 2;
    // The parameters' own asking removes the old value first; removing it
    // here too makes sure the answer given is the value kept.
    parameters->RemoveParam(ask->name);
    return parameters->SetParam(ask->name, window->Text());
}
