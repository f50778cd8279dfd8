// CCompiler: the base of the knowledge-base compilers, and the token interface
// through which retrievers and translators read their own parameters.
//
// A compiler reads a source (`CPInput`) through its own lexical analyzer,
// created over the source at construction (which reads the first token at
// once), and writes its one error line to a sink (`CPOutput`). `Compile` runs
// once per build and returns 0 when the source compiled, 2 when an error was
// reported.
//
// While a node declaration is compiled, the compiler hands itself to the
// `ReadParameters` of the node's retrievers and translator, which read the
// tokens of their own parameter syntax through the operations below.
//
// The contract for parameter readers:
//
// - Entry. A retriever's reader is called while the retriever's name is the
//   current token: "winchoice" in `retriever (winchoice ('a', 'b'))`. A
//   translator's reader is called while the first token inside the clause's
//   parentheses is current: the inner "(" in `translator ((1, 2) (0, 1))`,
//   the ")" in `translator ( )`.
// - Exit on success (result 0). A retriever's reader leaves the current token
//   on the last token of its parameters (the ")" that closes its list), or,
//   when it reads nothing, on the retriever's name: the compiler then steps
//   over that token itself. A translator's reader leaves the current token on
//   the clause's closing ")", which the compiler tests.
// - Failure. A reader reports a fault by returning 2, wherever the current
//   token then stands; the compiler then reports "error in reading retriever
//   parameters" or "error in reading translator parameters" with the line of
//   the current token. Readers never raise an exception: they run inside the
//   run-time table, which must not be unwound halfway through an attachment.
// - `Next` always returns a token: at the end of the source it returns
//   tokEnd again and again, and a lexical fault is tokError. A reader that
//   loops until some token must stop at either of them and fail.
// - `Text` and `Number` describe the last name, text or number token read; the
//   text is at most 255 characters and is overwritten by the next `Next`, so a
//   reader copies what it keeps.
#pragma once

#include <cstdint>
#include <memory>

#include "language/token.h"

class CPInput;
class CPOutput;
class CLexicalAnalyzer;

class CCompiler {
public:
    // Creates the lexer over input; neither input nor output is owned.
    CCompiler(CPInput *input, CPOutput *output);
    CCompiler(const CCompiler &) = delete;
    CCompiler &operator=(const CCompiler &) = delete;
    virtual ~CCompiler();

    // Compiles the whole source: 0 on success, 2 after writing the error line.
    virtual int Compile() = 0;

    // Token interface for parameter readers (see the contract above)
    // The kind of the current token.
    TToken Token() const;
    // Reads the next token, makes it current and returns its kind.
    virtual TToken Next();
    // The text of the last name, text or number token (never null).
    const char *Text() const;
    // The value of the last number token.
    double Number() const;
    // The line on which the current token ends, counting from 1.
    int32_t Line() const;

protected:
    // Stops the compilation with a message (raises CCompilerException).
    [[noreturn]] static void Error(const char *message);

    CLexicalAnalyzer &Lexer() { return *lexer; }

    CPOutput *output;  // receives the error line; not owned
    CPInput *input;    // the source; not owned

private:
    std::unique_ptr<CLexicalAnalyzer> lexer;
};
