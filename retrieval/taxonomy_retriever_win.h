// CWinTaxonomyRetriever: the taxonomy question, asked before the goals of a
// consultation are investigated.
//
// The user picks classes of the net's hypothesis taxonomies in the taxonomy
// list window (ui/taxonomy_list_window.h) and the class dialog
// (ui/taxonomy_class_dialog.h) of the front end's record of windows; the rules of
// the list are CTaxonomyList's. A net without hypothesis taxonomies is not
// asked at all, and its goals' enabled marks stay as they are.
#pragma once

#include "retrieval/taxonomy_list.h"
#include "retrieval/taxonomy_retriever.h"
#include "ui/user_interface.h"

class CTableEnvironment;

class CWinTaxonomyRetriever : public CTaxonomyRetriever {
public:
    // `ui` is the front end's record of windows; it must outlive the
    // retriever, as must `tables` (may be null), told before every question.
    explicit CWinTaxonomyRetriever(const CUserInterface &ui, CTableEnvironment *tables = nullptr)
        : ui(ui), tables(tables) {}

    // 0 when the user closed the list (with "&OK" or the close box) or when
    // there is nothing to ask; 2 when the question was aborted, or when there
    // is something to ask but no list window is installed.
    int32_t Retrieve(CInfTaxNet *net) override;
    // Marks the list cancelled and hides it, ending a running question.
    void Cancel() override;

    // The list of the question being asked (between questions, of the last).
    CTaxonomyList list;

private:
    const CUserInterface &ui;
    CTableEnvironment *tables;
};
