#include "language/compiler.h"

#include "language/compiler_exception.h"
#include "language/lexer.h"

CCompiler::CCompiler(CPInput *source, CPOutput *sink)
    : output(sink), input(source), lexer(std::make_unique<CLexicalAnalyzer>(source)) {}

CCompiler::~CCompiler() = default;

TToken CCompiler::Token() const { return lexer->Token(); }

TToken CCompiler::Next() { return lexer->Next(); }

const char *CCompiler::Text() const { return lexer->Text(); }

double CCompiler::Number() const { return lexer->Number(); }

int32_t CCompiler::Line() const { return lexer->Line(); }

void CCompiler::Error(const char *message) { throw CCompilerException(CString(message)); }

void CCompiler::ErrorAt(const char *message, const CSourcePlace &place, std::string detail) {
    throw CCompilerException(CString(message), place, std::move(detail));
}

CSourcePlace CCompiler::Here() const { return {lexer->TokenLine(), lexer->Column(), lexer->EndColumn()}; }
