#include "language/input_char.h"

#include "foundation/fatal_assert.h"

#include <cstring>

CPInputChar::CPInputChar(const char *text) {
    if (!text) return;
    const size_t length = std::strlen(text);
    QV_ASSERT(length <= static_cast<size_t>(kMaxLength), "input_char");
    data.assign(text, length);
    hasText = true;
    len = static_cast<int32_t>(length);
}

CPInputChar::CPInputChar(const char *bytes, int32_t length) {
    if (!bytes || length < 0) return;
    QV_ASSERT(length <= kMaxLength, "input_char");
    data.assign(bytes, static_cast<size_t>(length));
    hasText = true;
    len = length;
}

CPInputChar::CPInputChar(std::string &&text) : hasText(true), data(std::move(text)) {
    QV_ASSERT(data.size() <= static_cast<size_t>(kMaxLength), "input_char");
    len = static_cast<int32_t>(data.size());
}

int CPInputChar::Open() { return hasText ? 0 : 2; }

int CPInputChar::GetChar() {
    // The position keeps growing past the end, but must not overflow.
    if (pos < std::numeric_limits<int32_t>::max()) ++pos;
    const int32_t index = pos - 1;
    if (index >= len) return -1;
    return static_cast<signed char>(data[static_cast<size_t>(index)]);
}

bool CPInputChar::AtEnd() { return pos - 1 >= len; }

int CPInputChar::UngetChar(int c) {
    // Stepping back before the first character would make the next read
    // fetch the byte in front of the text, so the position stops at 0.
    if (pos > 0) --pos;
    return pos - 1 < 0 ? -1 : c;
}
