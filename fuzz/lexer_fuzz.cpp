// Fuzz target for the lexical analyzer and its raw line copy.
//
// Arbitrary bytes are lexed to the End token, and a second pass copies raw
// lines after every { as the help pages do. Besides the sanitizers' checks it
// traps when the lexer breaks one of its promises: a known token kind, at
// most 255 characters of token text, input consumed by every token but End,
// End staying End, and raw lines no longer than the buffer allows.
#include "language/input_char.h"
#include "language/lexer.h"
#include "language/output.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

void Require(bool condition) {
    if (!condition) __builtin_trap();
}

class CheckingOutput : public CPOutput {
public:
    explicit CheckingOutput(int32_t size) : limit(size > 1 ? size - 1 : 0) {}
    int Open() override { return 0; }
    void WriteLine(const char *text) override { Require(std::strlen(text) <= static_cast<size_t>(limit)); }

private:
    int32_t limit;
};

void CheckToken(const CLexicalAnalyzer &lexer) {
    Require(lexer.Token() >= tokEnd && lexer.Token() <= tokError);
    Require(std::strlen(lexer.Text()) <= static_cast<size_t>(CLexicalAnalyzer::kMaxTokenText));
}

// Lexes to End; every other token must move the reading point forward.
void LexToEnd(const char *bytes, int32_t length) {
    CPInputChar input(bytes, length);
    CLexicalAnalyzer lexer(&input);
    int32_t lines = 1;
    for (int32_t i = 0; i < length; ++i)
        if (bytes[i] == '\n') ++lines;
    int32_t before = 0;
    for (int32_t count = 0; lexer.Token() != tokEnd; ++count) {
        CheckToken(lexer);
        Require(input.Pos() > before);
        Require(count <= length);
        before = input.Pos();
        lexer.Next();
    }
    Require(lexer.Line() <= lines);
    Require(lexer.Next() == tokEnd);
    Require(lexer.Next() == tokEnd);
}

// Copies raw lines after every {, with a small buffer to reach truncation.
void CopyRawText(const char *bytes, int32_t length, int32_t size) {
    CPInputChar input(bytes, length);
    CLexicalAnalyzer lexer(&input);
    CheckingOutput sink(size);
    for (int32_t count = 0; lexer.Token() != tokEnd; ++count) {
        Require(count <= length);
        if (lexer.Token() == tokLeftBrace) lexer.CopyRawLines('}', &sink, size);
        lexer.Next();
        CheckToken(lexer);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size > (1u << 24)) return 0;
    const char *bytes = reinterpret_cast<const char *>(data);
    int32_t length = static_cast<int32_t>(size);
    LexToEnd(bytes, length);
    int32_t bufferSize = size > 0 ? 1 + data[0] % 16 : 2048;
    CopyRawText(bytes, length, bufferSize);
    CopyRawText(bytes, length, 2048);
    return 0;
}
