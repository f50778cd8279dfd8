// A compiler that only hands out tokens, so that parameter readers can be
// driven over a text exactly as the knowledge-base compiler drives them.
#pragma once

#include <string>

#include "language/compiler.h"
#include "language/input_char.h"

namespace retrieval_test {

// The source must exist before the compiler's lexer reads its first token.
struct SourceHolder {
    explicit SourceHolder(const std::string &text) : source(text.data(), static_cast<int32_t>(text.size())) {}
    CPInputChar source;
};

class TokenSource : private SourceHolder, public CCompiler {
public:
    explicit TokenSource(const std::string &text) : SourceHolder(text), CCompiler(&source, nullptr) {}
    int Compile() override { return 0; }
};

}  // namespace retrieval_test
