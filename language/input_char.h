// CPInputChar: a character source over a text in memory that it owns.
//
// The editor hands its whole text to a CPInputChar for one build; the
// console reads the knowledge base's file straight into one (see
// source_file.h). Bytes are
// read as signed 8-bit values, so 0x80-0xFF come back as -128..-1 and the
// byte 0xFF reads like the end marker; AtEnd tells the two apart. The read
// position `pos` counts the reads not taken back and is at the same time the
// byte offset of the reading point in the text, which is where the editor
// puts its caret after a failed build. The text is taken byte for byte: line
// ends are whatever the text holds, and the lexer deals with CR LF.
#pragma once

#include "language/input.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

class CPInputChar final : public CPInput {
public:
    // The longest text a source holds. Positions are 32-bit, and the read
    // past the last byte must still have a position of its own.
    static constexpr int64_t kMaxLength = std::numeric_limits<int32_t>::max() - 1;

    // Copies a zero-terminated text; a null text gives a source that cannot
    // be opened.
    explicit CPInputChar(const char *text);
    // Copies `length` bytes, which may include zero bytes.
    CPInputChar(const char *bytes, int32_t length);
    // Takes over the text without copying it; at most kMaxLength bytes.
    explicit CPInputChar(std::string &&text);

    int Open() override;
    // Inline, so that a lexer reading a text in memory (which knows the
    // class is final) pays no call per character.
    int GetChar() override {
        // The position keeps growing past the end, but must not overflow.
        if (pos < std::numeric_limits<int32_t>::max()) ++pos;
        const int32_t index = pos - 1;
        if (index >= len) return -1;
        return static_cast<signed char>(data[static_cast<size_t>(index)]);
    }
    bool AtEnd() override { return pos - 1 >= len; }
    int UngetChar(int c) override {
        // Stepping back before the first character would make the next read
        // fetch the byte in front of the text, so the position stops at 0.
        if (pos > 0) --pos;
        return pos - 1 < 0 ? -1 : c;
    }

    // The read position: reads not taken back, the caret offset in the text.
    int32_t Pos() const { return pos; }

    // The bytes not read yet, for a reader that takes a run of them at once
    // and then steps over it with Skip; empty at and past the end.
    std::string_view Unread() const {
        return pos < len ? std::string_view(data).substr(static_cast<size_t>(pos)) : std::string_view();
    }
    // Reads `count` bytes of Unread() at once.
    void Skip(int32_t count) { pos += count; }

private:
    int32_t pos = 0;       // never below 0
    bool hasText = false;  // false for a source that cannot be opened
    std::string data;
    int32_t len = 0;       // bytes in data
};
