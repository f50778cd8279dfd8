#include "language/input_char.h"

#include "foundation/fatal_assert.h"

#include <algorithm>
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

CPInputChar::CPInputChar(std::unique_ptr<CPByteStream> source, int32_t window)
    : hasText(true), data(static_cast<size_t>(std::max(window, 2 * kKeptBehind)), '\0'), stream(std::move(source)) {
    QV_ASSERT(stream != nullptr, "input_char");
}

CPInputChar::~CPInputChar() = default;

int CPInputChar::Open() { return hasText ? 0 : 2; }

int CPInputChar::Refill() {
    // Reads are one byte at a time, so a read beyond the window is the one
    // right after its last byte, unless the stream has ended.
    if (streamEnded || pos - 1 - base != len) return -1;
    const int32_t kept = std::min(len, kKeptBehind);
    std::memmove(data.data(), data.data() + (len - kept), static_cast<size_t>(kept));
    base += len - kept;
    len = kept;
    const int64_t got = stream->Read(data.data() + len, static_cast<int64_t>(data.size()) - len);
    if (got <= 0) {
        streamEnded = true;
        if (got < 0) problem = stream->Problem();
        return -1;
    }
    QV_ASSERT(int64_t{base} + len + got <= kMaxLength, "input_char");
    len += static_cast<int32_t>(got);
    return static_cast<signed char>(data[static_cast<size_t>(pos - 1 - base)]);
}

