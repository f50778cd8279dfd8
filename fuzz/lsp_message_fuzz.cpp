// Fuzz target for the language server's message reader and its answers.
//
// The first byte of the input sets the size of the pieces (1 to 256 bytes)
// in which the rest, the byte stream a client would send, is fed to the
// reader. Besides the sanitizers' checks it traps when the pieces give other
// frames than the whole stream at once, when a body is longer than the
// limit, or when a server given the frames' bodies (after an initialize)
// sends back anything but JSON-RPC objects, or more than one reply to one
// body.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp_framing.h"
#include "lsp_server.h"

namespace {

std::vector<LspFrame> Frames(const std::string &stream, size_t piece) {
    LspFrameReader reader;
    std::vector<LspFrame> frames;
    for (size_t at = 0; at < stream.size(); at += piece) {
        reader.Feed(stream.data() + at, std::min(piece, stream.size() - at));
        while (auto frame = reader.Next()) frames.push_back(std::move(*frame));
    }
    return frames;
}

void ExpectJsonRpc(const std::vector<std::string> &replies) {
    for (const std::string &reply : replies) {
        const auto message = nlohmann::json::parse(reply, nullptr, false);
        if (message.is_discarded() || !message.is_object() || message.value("jsonrpc", "") != "2.0") __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) return 0;
    const size_t piece = static_cast<size_t>(data[0]) + 1;
    const std::string stream(reinterpret_cast<const char *>(data) + 1, size - 1);
    const std::vector<LspFrame> whole = Frames(stream, stream.size() + 1);
    const std::vector<LspFrame> pieces = Frames(stream, piece);
    if (whole.size() != pieces.size()) __builtin_trap();
    LspServer server(nullptr);
    server.Handle(R"({"jsonrpc":"2.0","id":0,"method":"initialize","params":{"capabilities":{}}})");
    for (size_t i = 0; i < whole.size(); ++i) {
        if (whole[i].ok != pieces[i].ok || whole[i].body != pieces[i].body || whole[i].error != pieces[i].error)
            __builtin_trap();
        if (whole[i].body.size() > LspFrameReader::kMaxContentLength) __builtin_trap();
        if (!whole[i].ok) continue;
        const std::vector<std::string> replies = server.Handle(whole[i].body);
        if (replies.size() > 1) __builtin_trap();
        ExpectJsonRpc(replies);
    }
    ExpectJsonRpc(server.PublishDiagnostics());
    return 0;
}
