// Fuzz target for the lexical analyzer and its raw line copy.
//
// Arbitrary bytes are lexed to the End token, and a second pass copies raw
// lines after every { as the help pages do. Besides the sanitizers' checks it
// traps when the lexer breaks one of its promises: a known token kind, at
// most 255 characters of token text, input consumed by every token but End,
// End staying End, and raw lines no longer than the buffer allows. A third
// pass reads the bytes as a streamed source does, through the smallest
// window in pieces of 1 to 16 bytes, and traps when a token, its place or a
// raw line differs from those of the whole text.
#include "language/byte_stream.h"
#include "language/input_char.h"
#include "language/lexer.h"
#include "language/output.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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

// Gives bytes in pieces whose sizes come from the bytes themselves.
class PieceStream : public CPByteStream {
public:
    PieceStream(const char *bytes, int32_t length) : bytes(bytes), length(length) {}
    int64_t Read(char *into, int64_t size) override {
        if (given >= length) return 0;
        int64_t piece = 1 + static_cast<unsigned char>(bytes[given]) % 16;
        piece = std::min({piece, size, static_cast<int64_t>(length - given)});
        std::memcpy(into, bytes + given, static_cast<size_t>(piece));
        given += static_cast<int32_t>(piece);
        return piece;
    }
    std::string Problem() const override { return "never"; }

private:
    const char *bytes;
    int32_t length;
    int32_t given = 0;
};

class RecordingOutput : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

// Every token with its text, number and place, then the raw lines copied
// after every {.
std::vector<std::string> Trace(CPInputChar &input, int32_t length) {
    std::vector<std::string> trace;
    CLexicalAnalyzer lexer(&input);
    RecordingOutput raw;
    for (int32_t count = 0; count <= length + 1; ++count) {
        char place[160];
        std::snprintf(place, sizeof place, "%d %a %d:%d-%d @%d", lexer.Token(), lexer.Number(), lexer.TokenLine(),
                      lexer.Column(), lexer.EndColumn(), input.Pos());
        trace.push_back(std::string(place) + lexer.Text());
        if (lexer.Token() == tokEnd) break;
        if (lexer.Token() == tokLeftBrace) lexer.CopyRawLines('}', &raw, 64);
        lexer.Next();
    }
    trace.insert(trace.end(), raw.lines.begin(), raw.lines.end());
    trace.push_back(input.AtEnd() ? "end" : "not at the end");
    return trace;
}

void CompareStreamed(const char *bytes, int32_t length) {
    CPInputChar whole(bytes, length);
    CPInputChar streamed(std::make_unique<PieceStream>(bytes, length), 1);
    Require(Trace(whole, length) == Trace(streamed, length));
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
    CompareStreamed(bytes, length);
    return 0;
}
