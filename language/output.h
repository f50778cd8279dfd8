// CPOutput: a line sink for build messages and help pages.
//
// The compiler and the inference control write whole lines to a CPOutput;
// the sink decides where they go (the editor's message pane, a file).
#pragma once

class CPOutput {
public:
    virtual ~CPOutput() = default;

    // Prepares the sink: 0 when it can be written, 2 otherwise.
    virtual int Open() = 0;
    // Writes one line; the sink adds the line end.
    virtual void WriteLine(const char *text) = 0;
};
