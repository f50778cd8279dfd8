// IStatusText: the status line of a window.
//
// The consultation driver shows where a consultation stands ("Preparing...",
// "Investigating...", "Done, consulted ok.", ...). A console prints each text
// as a line "Status: TEXT".
#pragma once

#include "foundation/cstring.h"

class IStatusText {
public:
    virtual ~IStatusText() = default;

    // Shows the text as the window's status, replacing the last one.
    virtual void SetStatusText(const CString &text) = 0;
};
