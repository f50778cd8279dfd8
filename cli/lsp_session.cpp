#include "lsp_session.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <string>
#include <vector>

#include "lsp_framing.h"
#include "lsp_server.h"

namespace {

bool InputWaiting(int input) {
    pollfd waiting{input, POLLIN, 0};
    return poll(&waiting, 1, 0) > 0;
}

bool WriteAll(int output, const std::string &bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t count = write(output, bytes.data() + written, bytes.size() - written);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        written += static_cast<size_t>(count);
    }
    return true;
}

bool Send(int output, const std::vector<std::string> &messages) {
    for (const std::string &message : messages)
        if (!WriteAll(output, FrameMessage(message))) return false;
    return true;
}

}  // namespace

int RunLanguageServer(int input, int output, LspServer &server) {
    // A client that goes away ends the session through a failed write.
    std::signal(SIGPIPE, SIG_IGN);
    LspFrameReader reader;
    std::vector<char> chunk(1 << 16);
    for (;;) {
        while (auto frame = reader.Next()) {
            const auto replies =
                frame->ok ? server.Handle(frame->body) : std::vector<std::string>{server.FramingError(frame->error)};
            if (!Send(output, replies)) return 1;
            if (server.ExitRequested()) return server.ExitCode();
        }
        if (!InputWaiting(input) && !Send(output, server.PublishDiagnostics())) return 1;
        const ssize_t count = read(input, chunk.data(), chunk.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return server.ExitCode();
        reader.Feed(chunk.data(), static_cast<size_t>(count));
    }
}
