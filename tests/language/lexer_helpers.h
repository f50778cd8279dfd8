// Helpers for the language tests: a sink that records its lines, and a
// function that lexes a whole text into (kind, text) pairs.
#pragma once

#include "language/input_char.h"
#include "language/lexer.h"
#include "language/output.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

class RecordingOutput : public CPOutput {
public:
    int Open() override { return 0; }
    void WriteLine(const char *text) override { lines.emplace_back(text); }
    std::vector<std::string> lines;
};

using Lexeme = std::pair<TToken, std::string>;

// Lexes `source` up to and including the End token, through any Error
// tokens. Every token but End consumes input, so a source of n bytes has at
// most n + 1 tokens; a lexer that stalls fails the test instead of hanging.
inline std::vector<Lexeme> LexAll(const std::string &source) {
    CPInputChar input(source.data(), static_cast<int32_t>(source.size()));
    CLexicalAnalyzer lexer(&input);
    std::vector<Lexeme> result;
    for (size_t count = 0; count <= source.size(); ++count) {
        TToken kind = lexer.Token();
        bool carriesText = kind == tokName || kind == tokNumber || kind == tokText;
        result.emplace_back(kind, carriesText ? lexer.Text() : "");
        if (kind == tokEnd) return result;
        lexer.Next();
    }
    ADD_FAILURE() << "no End after " << source.size() + 1 << " tokens";
    return result;
}

// The kinds alone.
inline std::vector<TToken> KindsOf(const std::string &source) {
    std::vector<TToken> kinds;
    for (const Lexeme &lexeme : LexAll(source)) kinds.push_back(lexeme.first);
    return kinds;
}
