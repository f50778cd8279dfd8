// CCompilerException: the error that stops a compilation.
//
// Every syntax or semantic error found while compiling a knowledge base raises
// one of these with the text of the message the user sees. It never leaves the
// compiler: `Compile` catches it in one place and turns it into the
// "[Error at line N] message" line of the build output, followed by the
// line of its detail. Without a detail of its own, the detail is the token
// the compiler found where it expected something else.
#pragma once

#include <optional>
#include <string>

#include "foundation/cstring.h"
#include "language/diagnostic.h"

class CCompilerException {
public:
    explicit CCompilerException(const CString &text) : message(text) {}
    CCompilerException(const CString &text, const CSourcePlace &where, std::string why)
        : message(text), place(where), detail(std::move(why)) {}

    const CString &Message() const { return message; }
    // The cause and its place, when the raiser knew better than the token.
    const std::optional<CSourcePlace> &Place() const { return place; }
    const std::string &Detail() const { return detail; }

private:
    CString message;
    std::optional<CSourcePlace> place;
    std::string detail;
};
