// IQuestionWindow: a window in which a consultation asks the user one thing.
//
// Every question of a consultation (the five node questions and the
// parameter question) is asked through a window of this kind. The retriever
// that asks fills the window, shows it and waits; the window shows what it is
// given, collects the user's raw input and hands it back. Checking the input
// and asking again belong to the retriever, never to the window: when the
// last input was refused, the retriever shows the window again together with
// the message why.
//
// Showing does not block the rest of the user interface: events are
// dispatched until the window is hidden, so the consultation window's
// handlers (Abort among them) run nested inside the wait. A console front end
// reads a line instead. The window ends the wait by hiding itself:
//   - the accept action (the "&Accept" button, Enter, a line typed on the
//     console) calls Accept, which clears `dontKnow`;
//   - closing it in any other way (close box, Esc, the "Don't know" button)
//     calls Hide and leaves `dontKnow` set;
//   - Abort (the consultation is being aborted) sets `aborted` and hides.
// Question windows share one remembered position: centring one over the main
// window sets it, and hiding any of them stores its place there.
#pragma once

#include "foundation/cstring.h"

class IQuestionWindow {
public:
    IQuestionWindow() = default;
    virtual ~IQuestionWindow() = default;
    IQuestionWindow(const IQuestionWindow &) = delete;
    IQuestionWindow &operator=(const IQuestionWindow &) = delete;

    // Filling, by the asking retriever
    // The text the question is about: the node's description, or the
    // parameter's name.
    virtual void SetDescription(const CString &text) = 0;
    // Centres the window over the main window and makes that the shared
    // remembered position. Front ends without a main window do nothing.
    virtual void CentreOverMainWindow() {}

    // Asking
    // Clears `aborted`, sets `dontKnow`, resets the window's own inputs where
    // its kind says so, then presents the window and returns once it is
    // hidden. `rejection`, when not empty, is the message why the last input
    // was refused; the window shows it after appearing (a message box that
    // the user acknowledges, or a line on a console) and then waits.
    void ShowAndWait(const CString &rejection = CString());
    // Hides the window, which ends a running ShowAndWait, and stores its
    // position as the shared remembered position. Callable from a handler
    // that runs inside the wait.
    virtual void Hide() = 0;

    // Actions of the front end and of the asking retriever
    // The accept action: clears `dontKnow` and hides.
    void Accept();
    // Aborts the question: sets `aborted` and hides.
    void Abort();

    // How the last showing ended
    bool aborted = false;   // the question was aborted
    bool dontKnow = true;   // the window was closed without the accept action

protected:
    // Called by ShowAndWait before presenting: puts the kind's own inputs
    // into their starting state. The default leaves them as they are.
    virtual void ResetInputs() {}
    // Shows the window with the remembered position (not modal), shows the
    // rejection message if there is one, and dispatches events until the
    // window is hidden.
    virtual void Present(const CString &rejection) = 0;
};
