#include "retrieval/taxonomy_list.h"

#include <utility>
#include <vector>

#include "net/inf_tax_net.h"

namespace {

// The class tree of a taxonomy as the class dialog shows it, in depth-first
// order. An explicit stack instead of recursion: trees may be deep.
CTaxonomyTree TreeOf(const CTaxRoot &root) {
    CTaxonomyTree tree;
    std::vector<std::pair<const CTaxCl *, int32_t>> pending{{&root, 0}};
    while (!pending.empty()) {
        const auto [taxonomyClass, depth] = pending.back();
        pending.pop_back();
        tree.push_back(CTaxonomyTreeItem{taxonomyClass->name, depth});
        // Pushed last to first, so the first subclass comes out next.
        for (int32_t i = taxonomyClass->subclasses.Count() - 1; i >= 0; --i)
            pending.emplace_back(taxonomyClass->subclasses.At(i), depth + 1);
    }
    return tree;
}

bool InTree(const CTaxonomyTree &tree, const CString &name) {
    for (const CTaxonomyTreeItem &item : tree)
        if (item.name.Equals(name)) return true;
    return false;
}

}  // namespace

void CTaxonomyList::Fill(CInfTaxNet *taxonomyNet, ITaxonomyListWindow *listWindow, ITaxonomyClassDialog *classDialog) {
    filling = true;
    net = taxonomyNet;
    window = listWindow;
    dialog = classDialog;
    rows.clear();
    taxonomies.clear();
    for (int32_t i = 0; net != nullptr && i < net->roots.Count(); ++i) {
        CTaxRoot *root = net->roots.At(i);
        if (root->taxonomyType != CTaxRoot::kHypothesis) continue;
        CTaxonomyListRow row;
        row.taxonomy = root->name;
        rows.push_back(row);
        taxonomies.push_back(root);
    }
    hasItems = !rows.empty();
    if (window != nullptr) window->ShowRows(rows);
    filling = false;
}

void CTaxonomyList::Forget() {
    net = nullptr;
    window = nullptr;
    dialog = nullptr;
}

bool CTaxonomyList::Live(int32_t row) const {
    return !filling && row >= 0 && row < static_cast<int32_t>(rows.size());
}

void CTaxonomyList::Refresh() {
    if (window == nullptr) return;
    filling = true;
    window->ShowRows(rows);
    filling = false;
}

CTaxonomyClassAnswer CTaxonomyList::AskClass(const CTaxRoot &root) {
    const CTaxonomyTree tree = TreeOf(root);
    CString rejection;
    for (;;) {
        CTaxonomyClassAnswer answer = dialog->ShowModal(tree, rejection);
        if (!answer.accepted || answer.none || InTree(tree, answer.className)) return answer;
        rejection = kNotAClass;
    }
}

void CTaxonomyList::ChooseClass(int32_t row) {
    if (!Live(row) || dialog == nullptr) return;
    const CTaxonomyClassAnswer answer = AskClass(*taxonomies[static_cast<size_t>(row)]);
    CTaxonomyListRow &shown = rows[static_cast<size_t>(row)];
    shown.hasSelectedCell = false;
    shown.selected.Clear();
    if (answer.accepted) {
        const bool picked = !answer.none;
        shown.hasSelectedCell = true;
        if (picked) shown.selected = answer.className;
        shown.selectedMark = picked;
        shown.ticked = picked;
    }
    Refresh();
}

void CTaxonomyList::Tick(int32_t row) {
    if (!Live(row)) return;
    CTaxonomyListRow &shown = rows[static_cast<size_t>(row)];
    shown.selectedMark = true;
    shown.ticked = true;
    if (window != nullptr) window->SetCurrentRow(row);
    Refresh();
    ChooseClass(row);
}

void CTaxonomyList::Untick(int32_t row) {
    if (!Live(row)) return;
    CTaxonomyListRow &shown = rows[static_cast<size_t>(row)];
    shown.selectedMark = false;
    shown.ticked = false;
    shown.selected.Clear();
    Refresh();
}

void CTaxonomyList::Ok() {
    if (filling) return;
    if (net != nullptr) {
        // A name that is not a class of a hypothesis taxonomy selects nothing.
        for (const CTaxonomyListRow &row : rows)
            if (row.hasSelectedCell && !row.selected.IsEmpty()) net->SelectClass(row.selected);
        net->ApplySelection();
    }
    if (window != nullptr) window->Hide();
}

void CTaxonomyList::Close() {
    if (filling) return;
    if (window != nullptr) window->Hide();
}
