#include "language/lexer.h"

#include "lexer_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Reads the first token (a "{"), copies the raw lines up to "}" and returns
// what was written; `next` receives the token read afterwards.
Lines CopyHelpText(const std::string &source, int32_t size, TToken *next = nullptr, int32_t *line = nullptr) {
    CPInputChar input(source.data(), static_cast<int32_t>(source.size()));
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Token(), tokLeftBrace);
    RecordingOutput out;
    lexer.CopyRawLines('}', &out, size);
    if (line) *line = lexer.Line();
    TToken after = lexer.Next();
    if (next) *next = after;
    return out.lines;
}

}  // namespace

TEST(CopyRawLines, CopiesLinesVerbatimAndLeavesTheDelimiter) {
    TToken next = tokError;
    int32_t line = 0;
    Lines lines = CopyHelpText("{\n  <b>Flu</b>, a (viral) // infection\n\tsecond line\n}", 2048, &next, &line);
    EXPECT_EQ(lines, (Lines{"  <b>Flu</b>, a (viral) // infection", "\tsecond line"}));
    EXPECT_EQ(next, tokRightBrace);
    EXPECT_EQ(line, 4);
}

TEST(CopyRawLines, EmptyLinesAreDroppedAndTextBeforeTheDelimiterIsALine) {
    EXPECT_EQ(CopyHelpText("{first\n\n\nlast}", 2048), (Lines{"first", "last"}));
    EXPECT_EQ(CopyHelpText("{}", 2048), Lines{});
    EXPECT_EQ(CopyHelpText("{\n}", 2048), Lines{});
    EXPECT_EQ(CopyHelpText("{ \n  }", 2048), (Lines{" ", "  "}));
}

TEST(CopyRawLines, ALastControlCharacterIsRemoved) {
    // A CR before the line feed is part of the line end.
    EXPECT_EQ(CopyHelpText("{\r\none\r\n\r\ntwo\r\n}", 2048), (Lines{"one", "two"}));
    // A line holding only a CR is written as an empty line.
    EXPECT_EQ(CopyHelpText("{a\n\r}", 2048), (Lines{"a", ""}));
    EXPECT_EQ(CopyHelpText("{a\r\r\nb}", 2048), (Lines{"a", "b"}));
    EXPECT_EQ(CopyHelpText("{\r\r\n}", 2048), (Lines{""}));
    // Only one character goes, and only a control character.
    EXPECT_EQ(CopyHelpText("{a\t\t\nb.\n}", 2048), (Lines{"a\t", "b."}));
    EXPECT_EQ(CopyHelpText("{gr\xc3\xbc\n}", 2048), (Lines{"gr\xc3\xbc"}));
}

TEST(CopyRawLines, LongLinesKeepSizeMinusOneCharacters) {
    const std::string longLine(5000, 'x');
    Lines lines = CopyHelpText("{" + longLine + "\nshort\n}", 2048);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], std::string(2047, 'x'));
    EXPECT_EQ(lines[1], "short");

    EXPECT_EQ(CopyHelpText("{abcdef\nab\n}", 4), (Lines{"abc", "ab"}));
    // The control character dropped with the rest of a long line takes
    // nothing else with it.
    EXPECT_EQ(CopyHelpText("{ab\tcd\r\n}", 4), (Lines{"ab\t"}));
    EXPECT_EQ(CopyHelpText("{abc\r\n}", 4), (Lines{"abc"}));
    // A buffer with no room still writes (empty) lines rather than overrun.
    EXPECT_EQ(CopyHelpText("{abc\n}", 1), (Lines{""}));
    EXPECT_EQ(CopyHelpText("{abc\n}", 0), (Lines{""}));
}

TEST(CopyRawLines, StopsAtTheEndOfTheSourceOrAZeroByte) {
    TToken next = tokError;
    int32_t line = 0;
    EXPECT_EQ(CopyHelpText("{\nno closing\nbrace", 2048, &next, &line), (Lines{"no closing", "brace"}));
    EXPECT_EQ(next, tokEnd);
    EXPECT_EQ(line, 3);

    EXPECT_EQ(CopyHelpText(std::string("{ab\0cd}", 7), 2048, &next), (Lines{"ab"}));
    EXPECT_EQ(next, tokName);
    EXPECT_EQ(CopyHelpText("{ab\xff" "cd}", 2048, &next), (Lines{"ab"}));
    EXPECT_EQ(next, tokEnd);
}

TEST(CopyRawLines, TokensResumeAfterTheDelimiter) {
    CPInputChar input("description { flu {\nFever and aches.\n} cold { x } }");
    CLexicalAnalyzer lexer(&input);
    EXPECT_EQ(lexer.Next(), tokLeftBrace);
    EXPECT_EQ(lexer.Next(), tokName);
    EXPECT_EQ(lexer.Next(), tokLeftBrace);
    RecordingOutput out;
    lexer.CopyRawLines('}', &out, 2048);
    EXPECT_EQ(out.lines, (Lines{"Fever and aches."}));
    EXPECT_EQ(lexer.Next(), tokRightBrace);
    EXPECT_EQ(lexer.Next(), tokName);
    EXPECT_STREQ(lexer.Text(), "cold");
    EXPECT_EQ(lexer.Line(), 3);
    // Without a sink the lines are read and counted all the same.
    EXPECT_EQ(lexer.Next(), tokLeftBrace);
    lexer.CopyRawLines('}', nullptr, 2048);
    EXPECT_EQ(lexer.Next(), tokRightBrace);
    EXPECT_EQ(lexer.Next(), tokRightBrace);
    EXPECT_EQ(lexer.Next(), tokEnd);
}
