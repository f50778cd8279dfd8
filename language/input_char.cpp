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

