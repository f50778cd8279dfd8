// The framing of the language server's messages: bodies come out whole
// however the bytes arrive, and a refused header block costs only itself.
#include "cli/lsp_framing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every frame of a stream fed in pieces of `step` bytes: bodies as they
// are, refusals as "!reason".
std::vector<std::string> Frames(const std::string &stream, size_t step) {
    LspFrameReader reader;
    std::vector<std::string> frames;
    for (size_t at = 0; at < stream.size(); at += step) {
        reader.Feed(stream.data() + at, std::min(step, stream.size() - at));
        while (auto frame = reader.Next()) frames.push_back(frame->ok ? frame->body : "!" + frame->error);
    }
    return frames;
}

std::vector<std::string> Frames(const std::string &stream) { return Frames(stream, stream.size() + 1); }

}  // namespace

TEST(LspFraming, BodiesComeOutWholeHoweverTheBytesArrive) {
    const std::string body = "{\"a\":\"\\r\\n\\r\\nContent-Length: 3\"}";
    const std::string stream = FrameMessage(body) + FrameMessage("") + FrameMessage("[1]");
    for (size_t step : {size_t{1}, size_t{2}, size_t{7}, stream.size()}) {
        EXPECT_EQ(Frames(stream, step), (std::vector<std::string>{body, "", "[1]"})) << step;
    }
    // Other headers, any case, blanks, and LF alone as the line end.
    EXPECT_EQ(Frames("content-length:2\nContent-Type: application/vscode-jsonrpc; charset=utf-8\n\n{}"
                     "CONTENT-LENGTH :  3 \r\n\r\n[2]"),
              (std::vector<std::string>{"{}", "[2]"}));
    // A partial frame is held until it is complete.
    LspFrameReader reader;
    reader.Feed("Content-Length: 4\r\n\r\n{}", 23);
    EXPECT_FALSE(reader.Next().has_value());
    EXPECT_TRUE(reader.HasPartialFrame());
    reader.Feed("[]", 2);
    EXPECT_EQ(reader.Next()->body, "{}[]");
    EXPECT_FALSE(reader.HasPartialFrame());
}

TEST(LspFraming, ARefusedHeaderBlockCostsOnlyItself) {
    const std::string next = FrameMessage("{\"next\":1}");
    EXPECT_EQ(Frames("Content-Type: x\r\n\r\n" + next),
              (std::vector<std::string>{"!a header block without Content-Length", "{\"next\":1}"}));
    EXPECT_EQ(Frames("garbage\r\n\r\n" + next),
              (std::vector<std::string>{"!a header line without a colon", "{\"next\":1}"}));
    EXPECT_EQ(Frames("Content-Length: -5\r\n\r\n" + next),
              (std::vector<std::string>{"!a Content-Length that is not a number: \"-5\"", "{\"next\":1}"}));
    EXPECT_EQ(Frames("Content-Length: 99999999999999999999999\r\n\r\n" + next).size(), 2u);
    // A header block that never ends is dropped once it is too long.
    const std::string endless(LspFrameReader::kMaxHeaderBytes + 10, 'x');
    EXPECT_EQ(Frames(endless, 100).front(), "!a header block longer than 8192 bytes");
}

TEST(LspFraming, AnOverlongBodyIsSkippedAsItArrives) {
    const size_t length = LspFrameReader::kMaxContentLength + 1;
    LspFrameReader reader;
    const std::string header = "Content-Length: " + std::to_string(length) + "\r\n\r\n";
    reader.Feed(header.data(), header.size());
    const auto refused = reader.Next();
    ASSERT_TRUE(refused.has_value());
    EXPECT_FALSE(refused->ok);
    EXPECT_NE(refused->error.find("at most"), std::string::npos);
    // The body goes by in chunks without being kept; the message after it is read.
    const std::string chunk(1 << 20, 'z');
    size_t fed = 0;
    while (fed + chunk.size() <= length) {
        reader.Feed(chunk.data(), chunk.size());
        fed += chunk.size();
        EXPECT_FALSE(reader.Next().has_value());
    }
    const std::string rest = std::string(length - fed, 'z') + FrameMessage("{}");
    reader.Feed(rest.data(), rest.size());
    const auto after = reader.Next();
    ASSERT_TRUE(after.has_value());
    EXPECT_TRUE(after->ok);
    EXPECT_EQ(after->body, "{}");
}
