// CPOutputMemo: a line sink that writes into the editor's message pane.
//
// Build progress and compile errors reach the user through this sink. The
// pane belongs to the editor window; the sink only borrows it, and without a
// pane it swallows every line.
#pragma once

#include "language/output.h"
#include "ui/message_pane.h"

class CPOutputMemo : public CPOutput {
public:
    explicit CPOutputMemo(IMessagePane *pane);

    // Clears the pane when there is one; always succeeds.
    int Open() override;
    // Appends the text as the pane's new last line.
    void WriteLine(const char *text) override;

private:
    IMessagePane *memo;  // not owned; may be null
};
