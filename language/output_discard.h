// CPOutputDiscard: a line sink that drops every line, for text that is read
// past but not kept (the help pages of a check that writes no file).
#pragma once

#include "language/output.h"

class CPOutputDiscard : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *) override {}
};
