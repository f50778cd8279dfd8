// CPInputChar: a character source over a private copy of a text in memory.
//
// The editor hands its whole text to a CPInputChar for one build. Bytes are
// read as signed 8-bit values, so 0x80-0xFF come back as -128..-1 and the
// byte 0xFF reads like the end marker; AtEnd tells the two apart. The read
// position `pos` counts the reads not taken back and is at the same time the
// byte offset of the reading point in the text, which is where the editor
// puts its caret after a failed build. The text is taken byte for byte: line
// ends are whatever the text holds, and the lexer deals with CR LF.
#pragma once

#include "language/input.h"

#include <cstdint>
#include <memory>

class CPInputChar : public CPInput {
public:
    // Copies a zero-terminated text; a null text gives a source that cannot
    // be opened.
    explicit CPInputChar(const char *text);
    // Copies `length` bytes, which may include zero bytes.
    CPInputChar(const char *bytes, int32_t length);

    int Open() override;
    int GetChar() override;
    bool AtEnd() override;
    int UngetChar(int c) override;

    // The read position: reads not taken back, the caret offset in the text.
    int32_t Pos() const { return pos; }

private:
    int32_t pos;                  // never below 0
    std::unique_ptr<char[]> data; // the copy, zero-terminated; null without text
    int32_t len;                  // bytes in data, not counting the terminator

    void CopyText(const char *bytes, int32_t length);
};
