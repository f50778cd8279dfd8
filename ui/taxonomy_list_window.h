// ITaxonomyListWindow: the taxonomy question's list of taxonomies.
//
// Before the goals of a consultation are investigated, the user may narrow
// them to one class of each hypothesis taxonomy. The window "Selection of
// Taxonomies" (label "Select Taxonomy") lists one row per such taxonomy, with
// the columns "Taxonomy" and "Selected" and a check box per row, and has the
// buttons "&Select" and "&OK" (default). It is kept on top of the other
// windows but is not modal.
//
// The rules of the rows live in the core (the taxonomy retriever): the window
// shows the rows it is given and reports the user's actions to the
// ITaxonomyListEvents it was shown with, which may change the rows (the
// window is then given them again), open the class dialog or hide the window.
//   - a double click on a row, or "&Select" for the current row: ChooseClass
//   - the user ticks a row's box: Tick; unticks it: Untick
//   - "&OK": Ok; the close box: Close
// The events are ignored while the rows are being (re)filled, so a window
// that reports check-box changes made by ShowRows itself does no harm.
//
// On a console: ShowAndWait calls ChooseClass for every row in turn (which
// asks the class question through the class dialog), stopping as soon as the
// window is hidden (the consultation was aborted), then Ok.
#pragma once

#include <cstdint>
#include <vector>

#include "foundation/cstring.h"

// One row of the list.
struct CTaxonomyListRow {
    CString taxonomy;              // "Taxonomy" column: the taxonomy's name
    bool hasSelectedCell = false;  // the "Selected" cell exists
    CString selected;              // its text: the chosen class, or empty
    bool ticked = false;           // the check box
    bool selectedMark = false;     // the row has a chosen class
};

// The user's actions on the list, handled by the core.
class ITaxonomyListEvents {
public:
    virtual ~ITaxonomyListEvents() = default;
    virtual void ChooseClass(int32_t row) = 0;
    virtual void Tick(int32_t row) = 0;
    virtual void Untick(int32_t row) = 0;
    virtual void Ok() = 0;
    virtual void Close() = 0;
};

class ITaxonomyListWindow {
public:
    virtual ~ITaxonomyListWindow() = default;

    // Shows these rows, in order, replacing what the list showed.
    virtual void ShowRows(const std::vector<CTaxonomyListRow> &rows) = 0;
    // Makes a row the current one (the one "&Select" acts on).
    virtual void SetCurrentRow(int32_t row) = 0;
    // Shows the window centred over the main window and dispatches events,
    // reporting the user's actions to `events`, until the window is hidden.
    virtual void ShowAndWait(ITaxonomyListEvents &events) = 0;
    // Hides the window, which ends ShowAndWait; callable from inside it.
    virtual void Hide() = 0;
};
