// CCompiler: the base of the knowledge-base compilers, and the token interface
// through which retrievers and translators read their own parameters.
//
// A compiler reads a source (`CPInput`) through its own lexical analyzer,
// created over the source at construction (which reads the first token at
// once), and writes its one error line to a sink (`CPOutput`). `Compile` runs
// once per build and returns 0 when the source compiled, 2 when an error was
// reported.
//
// While a node declaration is compiled, the compiler hands itself, as a
// token reader (foundation/token_reader.h, where the readers' contract is),
// to the `ReadParameters` of the node's retrievers and translator.
#pragma once

#include <cstdint>
#include <memory>

#include <string>

#include "foundation/token.h"
#include "foundation/token_reader.h"
#include "language/diagnostic.h"

class CPInput;
class CPOutput;
class CLexicalAnalyzer;

class CCompiler : public ITokenReader {
public:
    // Creates the lexer over input; neither input nor output is owned.
    CCompiler(CPInput *input, CPOutput *output);
    CCompiler(const CCompiler &) = delete;
    CCompiler &operator=(const CCompiler &) = delete;
    ~CCompiler() override;

    // Compiles the whole source: 0 on success, 2 after writing the error line.
    virtual int Compile() = 0;

    // The token reader for parameter readers
    TToken Token() const override;
    TToken Next() override;
    const char *Text() const override;
    double Number() const override;
    int32_t Line() const override;

protected:
    // Stops the compilation with a message (raises CCompilerException); the
    // detail is then the token found.
    [[noreturn]] static void Error(const char *message);
    // The same with the cause and the place it concerns.
    [[noreturn]] static void ErrorAt(const char *message, const CSourcePlace &place, std::string detail);
    // Where the current token stands.
    CSourcePlace Here() const;

    CLexicalAnalyzer &Lexer() { return *lexer; }

    CPOutput *output;  // receives the error line; not owned
    CPInput *input;    // the source; not owned

private:
    std::unique_ptr<CLexicalAnalyzer> lexer;
};
