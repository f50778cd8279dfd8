// The language server answers every message with what the protocol asks:
// results, the JSON-RPC error of the case, or nothing for a notification.
#include "cli/lsp_server.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using nlohmann::json;

namespace {

const std::string kUri = "file:///kb.qvb";
const std::string kText =
    "nodes {\n"
    "  r\xC3\xA9sum\xC3\xA9 { 'Any CV?' (bayesian, 0.4) retriever (ask) }\n"
    "  hired { (bayesian, 0.2, goal) }\n"
    "}\n"
    "rules { { r\xC3\xA9sum\xC3\xA9, hired, 0.7, 0.1 } }\n";

struct Session {
    LspServer server{nullptr};

    std::vector<json> Send(const json &message) { return Parse(server.Handle(message.dump())); }
    std::vector<json> SendText(const std::string &text) { return Parse(server.Handle(text)); }
    json Request(int id, const std::string &method, const json &params) {
        const auto replies = Send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        EXPECT_EQ(replies.size(), 1u) << method;
        return replies.empty() ? json() : replies[0];
    }
    void Notify(const std::string &method, const json &params) {
        EXPECT_TRUE(Send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}}).empty()) << method;
    }
    void Open(const json &capabilities = json::object()) {
        Request(1, "initialize", {{"capabilities", capabilities}});
        Notify("initialized", json::object());
        Notify("textDocument/didOpen", {{"textDocument", {{"uri", kUri}, {"version", 1}, {"text", kText}}}});
    }
    static std::vector<json> Parse(const std::vector<std::string> &bodies) {
        std::vector<json> parsed;
        for (const std::string &body : bodies) parsed.push_back(json::parse(body));
        return parsed;
    }
};

int ErrorCode(const json &reply) { return reply.contains("error") ? reply["error"]["code"].get<int>() : 0; }

json At(int64_t line, int64_t character) {
    return {{"textDocument", {{"uri", kUri}}}, {"position", {{"line", line}, {"character", character}}}};
}

}  // namespace

TEST(LspServer, AnswersWhateverItIsSentWithTheErrorOfTheCase) {
    Session session;
    // Before initialize only exit and initialize count.
    EXPECT_EQ(ErrorCode(session.Request(1, "textDocument/hover", At(0, 0))), -32002);
    const json initialized = session.Request(2, "initialize", {{"capabilities", json::object()}});
    EXPECT_EQ(initialized["id"], 2);
    EXPECT_EQ(initialized["result"]["capabilities"]["textDocumentSync"]["change"], 1);
    EXPECT_EQ(ErrorCode(session.Request(3, "initialize", {{"capabilities", json::object()}})), -32600);

    const std::vector<std::pair<std::string, int>> cases = {
        {"{not json", -32700},
        {"", -32700},
        {"[1, 2]", -32600},
        {"{\"jsonrpc\":\"2.0\",\"id\":{\"x\":1},\"method\":\"shutdown\"}", -32600},
        {"{\"jsonrpc\":\"2.0\",\"id\":4,\"method\":7}", -32600},
        {"{\"jsonrpc\":\"2.0\",\"id\":5}", -32600},
        {"{\"jsonrpc\":\"2.0\",\"id\":6,\"method\":\"workspace/symbol\",\"params\":{}}", -32601},
        {"{\"jsonrpc\":\"2.0\",\"id\":7,\"method\":\"textDocument/hover\",\"params\":[1]}", -32602},
        {"{\"jsonrpc\":\"2.0\",\"id\":8,\"method\":\"textDocument/hover\",\"params\":{\"textDocument\":{\"uri\":5}}}",
         -32602},
        {"{\"jsonrpc\":\"2.0\",\"id\":\"nine\",\"method\":\"textDocument/definition\",\"params\":"
         "{\"textDocument\":{\"uri\":\"file:///unknown\"},\"position\":{\"line\":0,\"character\":0}}}",
         -32602},
    };
    for (const auto &[text, code] : cases) {
        const auto replies = session.SendText(text);
        ASSERT_EQ(replies.size(), 1u) << text;
        EXPECT_EQ(ErrorCode(replies[0]), code) << text;
    }
    EXPECT_EQ(session.SendText("{\"jsonrpc\":\"2.0\",\"id\":\"nine\",\"method\":\"shutdown\"}")[0]["id"], "nine");

    // Notifications and responses get no reply, whatever is wrong with them.
    EXPECT_TRUE(session.SendText("{\"jsonrpc\":\"2.0\",\"method\":\"textDocument/didOpen\",\"params\":7}").empty());
    EXPECT_TRUE(session.SendText("{\"jsonrpc\":\"2.0\",\"method\":\"$/unknown\"}").empty());
    EXPECT_TRUE(session.SendText("{\"jsonrpc\":\"2.0\",\"id\":1,\"result\":null}").empty());

    // After shutdown requests are refused; exit then ends with 0.
    EXPECT_EQ(ErrorCode(session.Request(10, "textDocument/hover", At(0, 0))), -32600);
    EXPECT_FALSE(session.server.ExitRequested());
    session.Notify("exit", json::object());
    EXPECT_TRUE(session.server.ExitRequested());
    EXPECT_EQ(session.server.ExitCode(), 0);

    Session abrupt;
    abrupt.Notify("exit", json::object());
    EXPECT_EQ(abrupt.server.ExitCode(), 1);
}

TEST(LspServer, CountsCharactersAsTheClientAgreed) {
    // "résumé" has 6 characters in UTF-16 and 8 bytes: the rule's target
    // "hired" starts at character 18 in UTF-16 and at byte 20.
    Session utf16;
    utf16.Open();
    json hover = utf16.Request(2, "textDocument/hover", At(4, 21));
    EXPECT_EQ(hover["result"]["range"]["start"]["character"], 18);
    EXPECT_NE(hover["result"]["contents"]["value"].get<std::string>().find("**hired** (goal, Bayesian, prior 0.2)"),
              std::string::npos);
    json definition = utf16.Request(3, "textDocument/definition", At(4, 12));
    EXPECT_EQ(definition["result"]["range"], json::parse(R"({"start":{"line":1,"character":2},
                                                            "end":{"line":1,"character":8}})"));

    Session utf8;
    utf8.Open({{"general", {{"positionEncodings", {"utf-8", "utf-16"}}}}});
    hover = utf8.Request(2, "textDocument/hover", At(4, 21));
    EXPECT_EQ(hover["result"]["range"]["start"]["character"], 20);
    definition = utf8.Request(3, "textDocument/definition", At(4, 12));
    EXPECT_EQ(definition["result"]["range"]["end"]["character"], 10);
}

TEST(LspServer, PublishesDiagnosticsOnceForABurstOfChanges) {
    Session session;
    session.Open();
    // Two changes before the check: only the last text is checked.
    session.Notify("textDocument/didChange",
                   {{"textDocument", {{"uri", kUri}, {"version", 2}}}, {"contentChanges", {{{"text", "nodes {"}}}}});
    session.Notify("textDocument/didChange", {{"textDocument", {{"uri", kUri}, {"version", 3}}},
                                              {"contentChanges",
                                               {{{"range", {{"start", {{"line", 0}, {"character", 7}}},
                                                            {"end", {{"line", 0}, {"character", 7}}}}},
                                                 {"text", " a { (bayesian, 0.5) } }"}}}}});
    auto published = Session::Parse(session.server.PublishDiagnostics());
    ASSERT_EQ(published.size(), 1u);
    EXPECT_EQ(published[0]["params"]["version"], 3);
    const json &diagnostics = published[0]["params"]["diagnostics"];
    ASSERT_EQ(diagnostics.size(), 1u);
    // The consistency problem has no place of its own.
    EXPECT_EQ(diagnostics[0]["message"], "no goals");
    EXPECT_TRUE(session.server.PublishDiagnostics().empty());
    // Closing clears the document's diagnostics.
    session.Notify("textDocument/didClose", {{"textDocument", {{"uri", kUri}}}});
    published = Session::Parse(session.server.PublishDiagnostics());
    ASSERT_EQ(published.size(), 1u);
    EXPECT_TRUE(published[0]["params"]["diagnostics"].empty());
    EXPECT_EQ(ErrorCode(session.Request(4, "textDocument/documentSymbol", {{"textDocument", {{"uri", kUri}}}})),
              -32602);
}
