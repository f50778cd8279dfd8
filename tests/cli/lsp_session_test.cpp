// A language client's session with the real `quorvin-cli lsp` over pipes:
// initialize, open a text with an error, its diagnostics, the change that
// fixes it, hover, definition, bytes no client should send, shutdown, exit.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/lsp_framing.h"

using nlohmann::json;

namespace {

std::string ReadKnowledgeBase(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// quorvin-cli lsp in a child process, run in `directory`, its standard input
// and output on pipes.
class ServerProcess {
public:
    explicit ServerProcess(const std::string &directory) {
        int toServer[2];
        int fromServer[2];
        if (pipe(toServer) != 0 || pipe(fromServer) != 0) return;
        child = fork();
        if (child == 0) {
            dup2(toServer[0], 0);
            dup2(fromServer[1], 1);
            close(toServer[1]);
            close(fromServer[0]);
            if (chdir(directory.c_str()) != 0) _exit(70);
            execl(QUORVIN_CLI, QUORVIN_CLI, "lsp", static_cast<char *>(nullptr));
            _exit(71);
        }
        close(toServer[0]);
        close(fromServer[1]);
        input = toServer[1];
        output = fromServer[0];
    }
    ~ServerProcess() {
        if (input >= 0) close(input);
        if (output >= 0) close(output);
        if (child > 0 && status < 0) Wait();
    }

    void SendBytes(const std::string &bytes) {
        ASSERT_EQ(write(input, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void Send(const json &message) { SendBytes(FrameMessage(message.dump())); }

    // The next message from the server; null after 20 seconds without one.
    json Receive() {
        for (;;) {
            if (auto frame = reader.Next()) return frame->ok ? json::parse(frame->body) : json();
            pollfd ready{output, POLLIN, 0};
            if (poll(&ready, 1, 20000) <= 0) return json();
            char chunk[4096];
            const ssize_t count = read(output, chunk, sizeof chunk);
            if (count <= 0) return json();
            reader.Feed(chunk, static_cast<size_t>(count));
        }
    }
    // The next message that is not a notification of diagnostics.
    json ReceiveReply() {
        json message = Receive();
        while (message.is_object() && message.value("method", "") == "textDocument/publishDiagnostics") message = Receive();
        return message;
    }
    // The next diagnostics published.
    json ReceiveDiagnostics() {
        json message = Receive();
        while (message.is_object() && message.value("method", "") != "textDocument/publishDiagnostics")
            message = Receive();
        return message.is_object() ? message["params"] : json();
    }

    int Wait() {
        if (input >= 0) close(input);
        input = -1;
        int raw = 0;
        waitpid(child, &raw, 0);
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 100;
        return status;
    }

private:
    pid_t child = -1;
    int input = -1;
    int output = -1;
    int status = -1;
    LspFrameReader reader;
};

json Request(int id, const std::string &method, const json &params) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}};
}

json Notification(const std::string &method, const json &params) {
    return {{"jsonrpc", "2.0"}, {"method", method}, {"params", params}};
}

json At(const std::string &uri, int line, int character) {
    return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
}

}  // namespace

TEST(LspSession, FromInitializeToExitOverPipes) {
    const std::filesystem::path work = std::filesystem::temp_directory_path() / ("quorvin-lsp-" + std::to_string(getpid()));
    std::filesystem::create_directories(work);
    const std::string fixed = ReadKnowledgeBase(QUORVIN_TEST_DATA "/../../examples/car.qvb");
    const std::string uri = "file:///somewhere/car.qvb";
    // The rule on line 55 names a node that does not exist.
    std::string broken = fixed;
    const std::string rule = "{ petrol_smell,   flooded_engine";
    broken.replace(broken.find(rule), rule.size(), "{ petrol_smel,    flooded_engine");
    {
        ServerProcess server(work.string());
        server.Send(Request(1, "initialize", {{"processId", nullptr}, {"rootUri", nullptr}, {"capabilities", json::object()}}));
        const json initialized = server.ReceiveReply();
        EXPECT_EQ(initialized["id"], 1);
        EXPECT_EQ(initialized["result"]["capabilities"]["hoverProvider"], true);
        EXPECT_EQ(initialized["result"]["capabilities"]["definitionProvider"], true);
        server.Send(Notification("initialized", json::object()));

        server.Send(Notification("textDocument/didOpen",
                                 {{"textDocument", {{"uri", uri}, {"languageId", "qvb"}, {"version", 1}, {"text", broken}}}}));
        json published = server.ReceiveDiagnostics();
        EXPECT_EQ(published["uri"], uri);
        EXPECT_EQ(published["version"], 1);
        ASSERT_EQ(published["diagnostics"].size(), 1u);
        const json &error = published["diagnostics"][0];
        EXPECT_EQ(error["message"], "cannot add rule: no node named \"petrol_smel\"");
        EXPECT_EQ(error["severity"], 1);
        EXPECT_EQ(error["range"], json::parse(R"({"start":{"line":54,"character":4},"end":{"line":54,"character":15}})"));

        server.Send(Notification("textDocument/didChange", {{"textDocument", {{"uri", uri}, {"version", 2}}},
                                                            {"contentChanges", {{{"text", fixed}}}}}));
        published = server.ReceiveDiagnostics();
        EXPECT_EQ(published["version"], 2);
        EXPECT_TRUE(published["diagnostics"].empty());

        // Hover over "flat_battery" in the first rule, line 42.
        server.Send(Request(2, "textDocument/hover", At(uri, 41, 22)));
        const json hover = server.ReceiveReply();
        const std::string text = hover["result"]["contents"]["value"];
        EXPECT_NE(text.find("**flat_battery** (goal, Bayesian, prior 0.3)"), std::string::npos) << text;
        EXPECT_NE(text.find("The battery is flat"), std::string::npos) << text;
        EXPECT_NE(text.find("- `rapid_clicking`: P(H|E) 0.8, P(H|not E) 0.2"), std::string::npos) << text;

        server.Send(Request(3, "textDocument/definition", At(uri, 41, 22)));
        const json definition = server.ReceiveReply();
        EXPECT_EQ(definition["result"]["uri"], uri);
        EXPECT_EQ(definition["result"]["range"]["start"], json::parse(R"({"line":33,"character":2})"));

        // Bytes no client should send: each is answered, and the session goes on.
        server.SendBytes("Content-Type: text\r\n\r\n");
        EXPECT_EQ(server.ReceiveReply()["error"]["code"], -32700);
        server.SendBytes(FrameMessage("{\"jsonrpc\":\"2.0\",\"id\":4,"));
        EXPECT_EQ(server.ReceiveReply()["error"]["code"], -32700);
        server.Send(Request(5, "textDocument/rename", At(uri, 0, 0)));
        EXPECT_EQ(server.ReceiveReply()["error"]["code"], -32601);
        server.Send(Request(6, "textDocument/hover", At("file:///never/opened.qvb", 0, 0)));
        EXPECT_EQ(server.ReceiveReply()["error"]["code"], -32602);

        server.Send(Request(7, "textDocument/documentSymbol", {{"textDocument", {{"uri", uri}}}}));
        EXPECT_EQ(server.ReceiveReply()["result"].size(), 13u);  // one parameter and twelve nodes

        server.Send(Request(8, "shutdown", nullptr));
        const json shutdown = server.ReceiveReply();
        EXPECT_EQ(shutdown["id"], 8);
        EXPECT_TRUE(shutdown.contains("result") && shutdown["result"].is_null());
        server.Send(Notification("exit", nullptr));
        EXPECT_EQ(server.Wait(), 0);
    }
    // The car's help pages and report were checked, not written.
    EXPECT_TRUE(std::filesystem::is_empty(work));
    std::filesystem::remove_all(work);
}

TEST(LspSession, EndOfInputWithoutShutdownEndsWithOne) {
    ServerProcess server(std::filesystem::temp_directory_path().string());
    server.SendBytes("Content-Length: 10\r\n\r\n{\"jso");
    EXPECT_EQ(server.Wait(), 1);
}
