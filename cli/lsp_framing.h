// The Language Server Protocol's base layer: messages framed by headers.
//
// A message is a header block - lines "Name: value" ended by CR LF, then an
// empty line - followed by exactly Content-Length bytes of body. The reader
// is fed whatever bytes arrive and hands out one frame at a time: a body, or
// the reason a header block was refused. It survives any bytes: a refused
// header block is dropped up to its empty line, a block longer than
// kMaxHeaderBytes without one is dropped as it stands, and the body of a
// message longer than kMaxContentLength is skipped as it arrives, never
// held. A lone LF ends a header line as well as CR LF does; header names
// are matched without regard to case; headers other than Content-Length are
// ignored.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

struct LspFrame {
    bool ok = false;
    std::string body;   // the message, when ok
    std::string error;  // why the header block was refused, when not
};

class LspFrameReader {
public:
    static constexpr size_t kMaxHeaderBytes = 8192;
    static constexpr size_t kMaxContentLength = size_t{64} << 20;

    // Appends bytes as they arrive.
    void Feed(const char *bytes, size_t size);
    // The next complete frame; none while more bytes are needed.
    std::optional<LspFrame> Next();
    // True while some bytes of an unfinished frame are held.
    bool HasPartialFrame() const { return buffer.size() > start || skipping > 0; }

private:
    std::optional<LspFrame> ReadHeader();
    std::optional<std::string> ContentLength(const std::string &block, size_t &length) const;
    void Consume(size_t count);

    std::string buffer;
    size_t start = 0;            // where the unread bytes begin
    std::optional<size_t> body;  // the length of the body being awaited
    size_t skipping = 0;         // bytes of an overlong body still to drop
};

// A body with its header, ready to write.
std::string FrameMessage(const std::string &body);
