// CPByteStream: where a streamed source takes its bytes from.
//
// A knowledge base's file is read a window at a time rather than whole, so
// that a build holds a small part of a large text at any moment (see
// CPInputChar). The stream gives bytes in order, in pieces of any size.
#pragma once

#include <cstdint>
#include <string>

class CPByteStream {
public:
    virtual ~CPByteStream() = default;

    // Fills up to `size` bytes at `into`: their count, 0 at the end of the
    // bytes, -1 when they cannot be read (Problem() says why).
    virtual int64_t Read(char *into, int64_t size) = 0;
    // Why the last Read gave -1, in the system's words.
    virtual std::string Problem() const = 0;
};
