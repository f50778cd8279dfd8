#include "lsp_framing.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string Trimmed(const std::string &text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") + 1 - first);
}

// Where the header block's empty line ends, or npos when it has not come.
size_t HeaderEnd(const std::string &buffer, size_t start) {
    for (size_t i = buffer.find('\n', start); i != std::string::npos; i = buffer.find('\n', i + 1)) {
        const size_t next = i + 1;
        if (next < buffer.size() && buffer[next] == '\n') return next + 1;
        if (next + 1 < buffer.size() && buffer[next] == '\r' && buffer[next + 1] == '\n') return next + 2;
    }
    return std::string::npos;
}

}  // namespace

void LspFrameReader::Feed(const char *bytes, size_t size) {
    if (skipping > 0) {
        const size_t dropped = std::min(skipping, size);
        skipping -= dropped;
        bytes += dropped;
        size -= dropped;
    }
    buffer.append(bytes, size);
}

std::optional<LspFrame> LspFrameReader::Next() {
    if (skipping > 0) return std::nullopt;
    if (!body) return ReadHeader();
    if (buffer.size() - start < *body) return std::nullopt;
    LspFrame frame{true, buffer.substr(start, *body), ""};
    Consume(*body);
    body.reset();
    return frame;
}

std::optional<LspFrame> LspFrameReader::ReadHeader() {
    const size_t end = HeaderEnd(buffer, start);
    if (end == std::string::npos) {
        if (buffer.size() - start <= kMaxHeaderBytes) return std::nullopt;
        Consume(buffer.size() - start);
        return LspFrame{false, "", "a header block longer than 8192 bytes"};
    }
    const std::string block = buffer.substr(start, end - start);
    Consume(end - start);
    size_t length = 0;
    if (auto problem = ContentLength(block, length)) return LspFrame{false, "", *problem};
    if (length > kMaxContentLength) {
        // Dropped as it arrives, so that the message after it is read.
        const size_t held = std::min(length, buffer.size() - start);
        Consume(held);
        skipping = length - held;
        return LspFrame{false, "", "a message of " + std::to_string(length) + " bytes (at most " +
                                       std::to_string(kMaxContentLength) + ")"};
    }
    body = length;
    return Next();
}

std::optional<std::string> LspFrameReader::ContentLength(const std::string &block, size_t &length) const {
    bool found = false;
    size_t lineStart = 0;
    for (size_t lineEnd = block.find('\n'); lineEnd != std::string::npos; lineEnd = block.find('\n', lineStart)) {
        const std::string line = Trimmed(block.substr(lineStart, lineEnd - lineStart));
        lineStart = lineEnd + 1;
        if (line.empty()) continue;
        const size_t colon = line.find(':');
        if (colon == std::string::npos) return "a header line without a colon";
        if (Lower(Trimmed(line.substr(0, colon))) != "content-length") continue;
        const std::string value = Trimmed(line.substr(colon + 1));
        if (value.empty() || value.size() > 18 || !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return "a Content-Length that is not a number: \"" + value.substr(0, 40) + "\"";
        length = std::stoull(value);
        found = true;
    }
    if (!found) return "a header block without Content-Length";
    return std::nullopt;
}

void LspFrameReader::Consume(size_t count) {
    start += count;
    // The buffer is moved down only now and then, so reading stays linear.
    if (start == buffer.size()) {
        buffer.clear();
        start = 0;
    } else if (start > 65536 && start > buffer.size() / 2) {
        buffer.erase(0, start);
        start = 0;
    }
}

std::string FrameMessage(const std::string &body) {
    return "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}
