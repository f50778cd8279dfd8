#include "language/input_char.h"

#include "foundation/fatal_assert.h"

#include <cstring>
#include <limits>

CPInputChar::CPInputChar(const char *text) : pos(0), len(0) {
    if (!text) return;
    size_t length = std::strlen(text);
    QV_ASSERT(length < static_cast<size_t>(std::numeric_limits<int32_t>::max()), "input_char");
    CopyText(text, static_cast<int32_t>(length));
}

CPInputChar::CPInputChar(const char *bytes, int32_t length) : pos(0), len(0) {
    if (!bytes || length < 0) return;
    CopyText(bytes, length);
}

void CPInputChar::CopyText(const char *bytes, int32_t length) {
    data = std::make_unique<char[]>(static_cast<size_t>(length) + 1);
    std::memcpy(data.get(), bytes, static_cast<size_t>(length));
    data[length] = '\0';
    len = length;
}

int CPInputChar::Open() { return data ? 0 : 2; }

int CPInputChar::GetChar() {
    // The position keeps growing past the end, but must not overflow.
    if (pos < std::numeric_limits<int32_t>::max()) ++pos;
    int32_t index = pos - 1;
    if (!data || index >= len) return -1;
    return static_cast<signed char>(data[index]);
}

bool CPInputChar::AtEnd() { return pos - 1 >= len; }

int CPInputChar::UngetChar(int c) {
    // Stepping back before the first character would make the next read
    // fetch the byte in front of the text, so the position stops at 0.
    if (pos > 0) --pos;
    return pos - 1 < 0 ? -1 : c;
}
