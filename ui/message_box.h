// IMessageBox: messages to acknowledge and questions with three answers.
//
// The consultation driver reports its outcome through message boxes ("Error
// during consultation !", "No goal in given taxonomy.", ...) and the windows
// ask before they close. Both calls return only when the user has answered.
// A console prints the message as a line of its own.
#pragma once

#include "foundation/cstring.h"

enum class TMessageIcon { none, information, warning, error };

enum class TYesNoCancel { yes, no, cancel };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;

    // Shows the text (with a title and an icon where the caller gives them)
    // and returns when the user acknowledges it.
    virtual void ShowMessage(const CString &text, const CString &title = CString(),
                             TMessageIcon icon = TMessageIcon::none) = 0;
    // Reports what went wrong in a run without stopping it (an output or a
    // report that could not be written, say). A message box by default; a
    // console writes it to its error stream.
    virtual void ShowFault(const CString &text) { ShowMessage(text, CString(), TMessageIcon::error); }
    // Asks the question with the buttons Yes, No and Cancel, kept above all
    // windows; closing it otherwise answers Cancel.
    virtual TYesNoCancel AskYesNoCancel(const CString &question, const CString &title) = 0;
};
