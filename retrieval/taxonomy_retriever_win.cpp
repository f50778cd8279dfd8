#include "retrieval/taxonomy_retriever_win.h"

#include "tables/table_environment.h"

int32_t CWinTaxonomyRetriever::Retrieve(CInfTaxNet *net) {
    list.Fill(net, ui.taxonomyList, ui.taxonomyClass);
    if (!list.hasItems) {
        list.Forget();
        return 0;
    }
    if (ui.taxonomyList == nullptr) {
        list.Forget();
        return 2;
    }
    list.cancelled = false;
    if (tables != nullptr) tables->BeforeWaitingForUser();
    ui.taxonomyList->ShowAndWait(list);
    list.Forget();
    return list.cancelled ? 2 : 0;
}

void CWinTaxonomyRetriever::Cancel() {
    list.cancelled = true;
    if (ITaxonomyListWindow *window = ui.taxonomyList) window->Hide();
}
