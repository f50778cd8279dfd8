// CCompilerException: the error that stops a compilation.
//
// Every syntax or semantic error found while compiling a knowledge base raises
// one of these with the text of the message the user sees. It never leaves the
// compiler: `Compile` catches it in one place and turns it into the single
// "[Error at line N] message" line of the build output.
#pragma once

#include "foundation/cstring.h"

class CCompilerException {
public:
    explicit CCompilerException(const CString &text) : message(text) {}

    const CString &Message() const { return message; }

private:
    CString message;
};
