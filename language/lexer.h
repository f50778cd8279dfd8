// CLexicalAnalyzer: turns a knowledge-base source into tokens.
//
// The lexer reads characters from a CPInput and keeps one current token with
// its text, the value of the last number and the current line number. It
// reports no messages: a lexical error is the token tokError, and the
// compiler says what it expected there. Besides tokens it can copy source
// lines verbatim into a line sink, which is how help pages take their text.
//
// Limits: a token keeps at most its first 255 characters (the rest is read
// and dropped); a raw line keeps at most size - 1 characters. Bytes
// 0x80-0xFE are name characters; 0xFF reads as the end of the source. A UTF-8
// byte-order mark at the very start is skipped, and a CR directly before an
// LF inside texts and raw lines is read as part of that line end.
#pragma once

#include "language/input.h"
#include "language/input_char.h"
#include "language/output.h"
#include "foundation/token.h"

#include <cstdint>
#include <string>
#include <vector>

class CLexicalAnalyzer {
public:
    static constexpr int32_t kMaxTokenText = 255;

    // Reads the first token at once, so the caller starts with a current token.
    explicit CLexicalAnalyzer(CPInput *source);

    // The reserved words, as a knowledge base writes them.
    static std::vector<std::string> Keywords();

    // Scanning
    TToken Next();
    TToken Token() const { return token; }

    // The current token's data
    const char *Text() const { return text; }  // last number, name or text
    double Number() const { return number; }   // last number; 0 before any
    int32_t Line() const { return line; }      // counted from 1
    // Where the current token stands: its line, and its first and one past
    // its last column, counting characters (single bytes) from 1 on that
    // line. A token that runs over lines (a text) ends one past its first
    // character; the end of the source has an empty range where it ends.
    int32_t TokenLine() const { return tokenLine; }
    int32_t Column() const { return static_cast<int32_t>(tokenStart - tokenLineStart) + 1; }
    int32_t EndColumn() const { return static_cast<int32_t>(tokenEnd - tokenLineStart) + 1; }

    // Copies source lines verbatim to `sink` until `delimiter`, a zero byte or
    // the end of the source, which is left to be read next. Empty lines are
    // not written; a line's last character is removed when it is a control
    // character; a line keeps at most size - 1 characters.
    void CopyRawLines(char delimiter, CPOutput *sink, int32_t size);

private:
    CPInput *input;  // not owned; may be null
    // The same source when it is a text in memory, read without a virtual
    // call per character; null otherwise.
    CPInputChar *memory;
    TToken token;
    double number;
    char text[kMaxTokenText + 1];
    int32_t line;
    // Characters read so far, and where the current line and token begin.
    int64_t offset;
    int64_t lineStart;
    int32_t tokenLine;
    int64_t tokenStart;
    int64_t tokenEnd;
    int64_t tokenLineStart;

    // Reading with the count of characters kept.
    int Get();
    void Unget(int c);
    void NewLine();
    void MarkTokenStart();

    void SkipByteOrderMark();
    TToken Scan();
    // Skips blanks and comments: true with the first character of a token in
    // `c`, false with the token that ends the scan (End or Error).
    bool SkipToToken(int &c, TToken &stop);
    bool SkipLineComment();
    bool SkipBlockComment();
    TToken ReadNumber(int first);
    TToken ReadQuotedName();
    TToken ReadText();
    TToken ReadWord(int first);
    int ReadLineChar();
};
