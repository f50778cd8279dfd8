// ITaxonomyClassDialog: the choice of one class of a taxonomy.
//
// A modal dialog titled "Taxonomy" with the label "Select Taxonomy Class":
// the taxonomy's class tree (the root as the single top item, each class's
// subclasses as its children, in order), fully expanded and never collapsed,
// the root selected and the tree focused, centred over the main window. Its
// buttons: "&OK" (default; a double click on an item does the same) answers
// the selected item's class; "Select &None" answers that no class is wanted;
// "&Cancel" (and closing the dialog) answers nothing.
//
// The dialog hands back the name of the item chosen; the core checks that it
// is a class of the tree and, when it is not (a console user mistyped it),
// shows the dialog again with the message why.
//
// On a console: the help line and prompt of TQuestionKind::taxonomy
// (ui/text_mode.h) with the tree listed by TaxonomyTreeListing; an empty line
// is "Select &None", any other line is the class name, accepted.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/cstring.h"

// One item of the class tree. The tree is a list in depth-first order: the
// root (depth 0) first, and after every class its subclasses, in order, one
// level deeper, each followed by its own subclasses. A flat list keeps trees
// of any depth safe to build, show and destroy.
struct CTaxonomyTreeItem {
    CString name;
    int32_t depth = 0;
};

using CTaxonomyTree = std::vector<CTaxonomyTreeItem>;

// How the dialog was closed.
struct CTaxonomyClassAnswer {
    bool accepted = false;  // "&OK" or "Select &None"
    bool none = false;      // "Select &None"
    CString className;      // with "&OK": the chosen item's name
};

class ITaxonomyClassDialog {
public:
    virtual ~ITaxonomyClassDialog() = default;

    // Shows the tree of one taxonomy, modally, with `rejection` (when not
    // empty) as a message about the last answer, and returns the answer.
    virtual CTaxonomyClassAnswer ShowModal(const CTaxonomyTree &tree, const CString &rejection) = 0;
};
