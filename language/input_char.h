// CPInputChar: a character source over a text in memory that it owns.
//
// The editor hands its whole text to a CPInputChar for one build. The
// console's source streams its file instead (see source_file.h): the
// source then holds a window of the text, refilled from a CPByteStream when
// the reading reaches its end, and keeps the last few bytes read so that
// characters can be stepped back over across a refill. Bytes are
// read as signed 8-bit values, so 0x80-0xFF come back as -128..-1 and the
// byte 0xFF reads like the end marker; AtEnd tells the two apart. The read
// position `pos` counts the reads not taken back and is at the same time the
// byte offset of the reading point in the text, which is where the editor
// puts its caret after a failed build. The text is taken byte for byte: line
// ends are whatever the text holds, and the lexer deals with CR LF.
#pragma once

#include "foundation/fatal_assert.h"
#include "language/byte_stream.h"
#include "language/input.h"

#include <cstdint>
#include <limits>
#include <memory>
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
    // Bytes a streamed source keeps behind its reading point, for the
    // lexer's steps back.
    static constexpr int32_t kKeptBehind = 64;
    // Reads `stream` through a window of `window` bytes (at least
    // 2 x kKeptBehind). The stream must end within kMaxLength bytes.
    CPInputChar(std::unique_ptr<CPByteStream> stream, int32_t window);
    ~CPInputChar() override;

    int Open() override;
    // Inline, so that a lexer reading a text in memory (which knows the
    // class is final) pays no call per character.
    int GetChar() override {
        // The position keeps growing past the end, but must not overflow.
        if (pos < std::numeric_limits<int32_t>::max()) ++pos;
        const int32_t index = pos - 1 - base;
        if (index < len) return static_cast<signed char>(data[static_cast<size_t>(index)]);
        return stream ? Refill() : -1;
    }
    bool AtEnd() override { return pos - 1 - base >= len && (!stream || streamEnded); }
    int UngetChar(int c) override {
        // Stepping back before the first character would make the next read
        // fetch the byte in front of the text, so the position stops at 0.
        // A streamed source can step back over the bytes it kept behind.
        if (pos > 0) --pos;
        QV_ASSERT(pos >= base, "input_char");
        return pos - 1 < 0 ? -1 : c;
    }

    // The read position: reads not taken back, the caret offset in the text.
    int32_t Pos() const { return pos; }

    // The bytes not read yet, for a reader that takes a run of them at once
    // and then steps over it with Skip; empty at and past the end.
    // A streamed source gives the rest of its window.
    std::string_view Unread() const {
        const int32_t index = pos - base;
        return index < len ? std::string_view(data.data() + index, static_cast<size_t>(len - index))
                           : std::string_view();
    }
    // Reads `count` bytes of Unread() at once.
    void Skip(int32_t count) { pos += count; }

    // Why a streamed source ended before the end of its bytes: the stream's
    // problem, once a read has failed; empty otherwise.
    const std::string &ReadProblem() const { return problem; }

private:
    // Moves the window on when a read reaches its end: the next byte, or -1
    // at the end of the stream or when it fails.
    int Refill();

    int32_t pos = 0;       // never below 0
    bool hasText = false;  // false for a source that cannot be opened
    std::string data;      // the text, or a streamed source's window
    int32_t len = 0;       // bytes in data
    int32_t base = 0;      // the position of data[0] in the whole text
    std::unique_ptr<CPByteStream> stream;  // null for a text held whole
    bool streamEnded = false;
    std::string problem;
};
