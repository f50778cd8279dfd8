// CTaxonomyList: the rules of the taxonomy question's list, which any front
// end drives through ITaxonomyListEvents (ui/taxonomy_list_window.h).
//
// The list has one row per hypothesis taxonomy of the net, in the order of
// the net's roots. The user picks at most one class per taxonomy through the
// class dialog; "&OK" selects every picked class in the net and applies the
// selection, so only goals in every picked class's subtree stay enabled
// (with no class picked, every goal is enabled). The rules of the rows:
//   - ChooseClass (double click, "&Select"): the class dialog for the row's
//     taxonomy. The row's "Selected" cell is removed in every case; then a
//     cancelled dialog changes nothing more (box and mark stay as they
//     were); "Select &None" leaves an empty cell, the mark cleared and the
//     box unticked; a class leaves its name in the cell, the mark set and the
//     box ticked.
//   - Tick (the user ticks an empty box): the row becomes current, its mark
//     is set and its box ticked, then ChooseClass.
//   - Untick: the mark and the "Selected" text are cleared.
//   - Ok: SelectClass for every row with a class, ApplySelection, hide.
//   - Close (the close box): hide, and the net is left as it was.
// No event has an effect while the rows are being (re)filled, or for a row
// that does not exist.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/taxonomy_class_dialog.h"
#include "ui/taxonomy_list_window.h"

class CInfTaxNet;
class CTaxCl;
class CTaxRoot;

// The message with which a class name that is not in the taxonomy's tree (a
// console user mistyped it) is asked again.
inline constexpr const char *kNotAClass = "Select one of the classes of the taxonomy!";

class CTaxonomyList : public ITaxonomyListEvents {
public:
    // Fills the rows for the net's hypothesis taxonomies and shows them in
    // the window; `hasItems` tells whether there is any. Neither window is
    // owned; the class dialog may be missing (no class can then be chosen).
    void Fill(CInfTaxNet *taxonomyNet, ITaxonomyListWindow *listWindow, ITaxonomyClassDialog *classDialog);
    // Lets go of the net and the windows once the question is over.
    void Forget();

    // The user's actions
    void ChooseClass(int32_t row) override;
    void Tick(int32_t row) override;
    void Untick(int32_t row) override;
    void Ok() override;
    void Close() override;

    const std::vector<CTaxonomyListRow> &Rows() const { return rows; }

    bool cancelled = false;  // the question was aborted
    bool filling = false;    // the rows are being (re)filled
    bool hasItems = false;   // some row was added at the last Fill
    CInfTaxNet *net = nullptr;

private:
    // True when events are to be handled for this row.
    bool Live(int32_t row) const;
    // Shows the rows again, with the events held off meanwhile.
    void Refresh();
    // Asks the class dialog until it answers a class of the tree (or no
    // class, or nothing).
    CTaxonomyClassAnswer AskClass(const CTaxRoot &root);

    std::vector<CTaxonomyListRow> rows;
    std::vector<CTaxRoot *> taxonomies;  // the root of each row
    ITaxonomyListWindow *window = nullptr;
    ITaxonomyClassDialog *dialog = nullptr;
};
