#include "lsp_server.h"

#include <algorithm>

#include "consult/text_check.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/data_retriever.h"

namespace {

// JSON-RPC's and the protocol's error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kInternalError = -32603;
constexpr int kServerNotInitialized = -32002;

constexpr int kFullSync = 1;

using json = nlohmann::json;

std::vector<LspRetrieverName> RetrieverNames(CAllRetrievers *registry) {
    std::vector<LspRetrieverName> names;
    for (int32_t i = 0; registry != nullptr && i < registry->retrievers.Count(); ++i) {
        CString name;
        CString translator;
        registry->retrievers.At(i)->GetNames(name, translator);
        names.push_back({name.Text(), translator.Text()});
    }
    return names;
}

// Texts from the client may hold any bytes; what cannot be UTF-8 is replaced
// rather than failing the whole message.
std::string Dump(const json &message) { return message.dump(-1, ' ', false, json::error_handler_t::replace); }

bool IsValidId(const json &id) { return id.is_number_integer() || id.is_string(); }

bool ClientSpeaksUtf8(const json &params) {
    const json *encodings = nullptr;
    if (params.contains("capabilities") && params["capabilities"].is_object() &&
        params["capabilities"].contains("general") && params["capabilities"]["general"].is_object())
        encodings = &params["capabilities"]["general"];
    if (encodings == nullptr || !encodings->contains("positionEncodings")) return false;
    const json &offered = (*encodings)["positionEncodings"];
    return offered.is_array() && std::find(offered.begin(), offered.end(), "utf-8") != offered.end();
}

}  // namespace

LspServer::LspServer(CAllRetrievers *all) : registry(all), retrieverNames(RetrieverNames(all)) {}

std::vector<std::string> LspServer::Handle(const std::string &body) {
    const json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) return {Error(nullptr, kParseError, "the message is not JSON")};
    if (!message.is_object()) return {Error(nullptr, kInvalidRequest, "a message must be a JSON object")};
    const bool hasId = message.contains("id");
    const json id = hasId ? message["id"] : json();
    if (!message.contains("method")) {
        // A response to a request of ours; the server sends none.
        if (hasId && (message.contains("result") || message.contains("error"))) return {};
        return {Error(IsValidId(id) ? id : json(), kInvalidRequest, "a message without a method")};
    }
    if (!message["method"].is_string() || (hasId && !IsValidId(id)))
        return {Error(IsValidId(id) ? id : json(), kInvalidRequest, "a method must be a string, an id a number or a string")};
    const std::string method = message["method"].get<std::string>();
    const json params = message.contains("params") ? message["params"] : json::object();
    if (!hasId) {
        try {
            Notification(method, params);
        } catch (const std::exception &) {
            // A notification has no reply, not even an error.
        }
        return {};
    }
    Reply reply;
    try {
        reply = Request(method, params);
    } catch (const json::exception &error) {
        reply = Reply::Failure(kInvalidParams, std::string("params of the wrong shape: ") + error.what());
    } catch (const std::exception &error) {
        reply = Reply::Failure(kInternalError, error.what());
    }
    return {Response(id, reply)};
}

LspServer::Reply LspServer::Request(const std::string &method, const json &params) {
    if (method == "initialize") return Initialize(params);
    if (!initialized) return Reply::Failure(kServerNotInitialized, "initialize comes first");
    if (shutDown) return Reply::Failure(kInvalidRequest, "the server has been shut down");
    if (method == "shutdown") {
        shutDown = true;
        return Reply::Result(nullptr);
    }
    const bool known = method == "textDocument/hover" || method == "textDocument/definition" ||
                       method == "textDocument/documentSymbol" || method == "textDocument/completion";
    if (!known) return Reply::Failure(kMethodNotFound, "no method " + method);
    Reply reply;
    LspDocument *document = DocumentOf(params, reply);
    if (document == nullptr) return reply;
    if (method == "textDocument/documentSymbol") return Reply::Result(DocumentSymbols(*document, encoding));
    if (method == "textDocument/completion") return Reply::Result(CompletionItems(*document, retrieverNames));
    const LspPosition position = PositionIn(params);
    if (method == "textDocument/hover") return Reply::Result(HoverAt(*document, position, encoding, retrieverNames));
    return Reply::Result(DefinitionAt(*document, params["textDocument"]["uri"].get<std::string>(), position, encoding));
}

LspServer::Reply LspServer::Initialize(const json &params) {
    if (initialized) return Reply::Failure(kInvalidRequest, "initialize was already called");
    if (!params.is_object()) return Reply::Failure(kInvalidParams, "initialize needs its params");
    initialized = true;
    encoding = ClientSpeaksUtf8(params) ? LspEncoding::utf8 : LspEncoding::utf16;
    const json capabilities = {
        {"positionEncoding", encoding == LspEncoding::utf8 ? "utf-8" : "utf-16"},
        {"textDocumentSync", {{"openClose", true}, {"change", kFullSync}}},
        {"hoverProvider", true},
        {"definitionProvider", true},
        {"documentSymbolProvider", true},
        {"completionProvider", {{"triggerCharacters", json::array({"(", ","})}}}};
    return Reply::Result({{"capabilities", capabilities}, {"serverInfo", {{"name", "quorvin-cli lsp"}}}});
}

void LspServer::Notification(const std::string &method, const json &params) {
    if (method == "exit") {
        exitRequested = true;
        return;
    }
    if (!initialized || shutDown) return;
    if (method == "textDocument/didOpen") {
        const json &item = params.at("textDocument");
        const std::string uri = item.at("uri").get<std::string>();
        documents.insert_or_assign(uri, LspDocument(item.at("text").get<std::string>(),
                                                    item.value("version", int64_t{0})));
        unchecked.insert(uri);
    } else if (method == "textDocument/didChange") {
        DidChange(params);
    } else if (method == "textDocument/didClose") {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        if (documents.erase(uri) > 0) closed.push_back(uri);
        unchecked.erase(uri);
    }
    // Others (initialized, didSave, $/cancelRequest, ...) need nothing.
}

// Full texts replace the document; a change with a range, which a client
// sends only when it ignores the announced full sync, is applied too.
void LspServer::DidChange(const json &params) {
    const json &item = params.at("textDocument");
    const auto found = documents.find(item.at("uri").get<std::string>());
    if (found == documents.end()) return;
    LspDocument &document = found->second;
    const int64_t version = item.value("version", document.Version() + 1);
    for (const json &change : params.at("contentChanges")) {
        const std::string text = change.at("text").get<std::string>();
        if (!change.contains("range")) {
            document.Replace(text, version);
            continue;
        }
        const json &range = change["range"];
        const LspPosition from{range.at("start").at("line").get<int64_t>(),
                               range.at("start").at("character").get<int64_t>()};
        const LspPosition to{range.at("end").at("line").get<int64_t>(), range.at("end").at("character").get<int64_t>()};
        document.Edit(from, to, text, encoding, version);
    }
    unchecked.insert(found->first);
}

LspDocument *LspServer::DocumentOf(const json &params, Reply &reply) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const auto found = documents.find(uri);
    if (found != documents.end()) return &found->second;
    reply = Reply::Failure(kInvalidParams, "no open document " + uri);
    return nullptr;
}

LspPosition LspServer::PositionIn(const json &params) {
    const json &position = params.at("position");
    return {position.at("line").get<int64_t>(), position.at("character").get<int64_t>()};
}

std::vector<std::string> LspServer::PublishDiagnostics() {
    std::vector<std::string> messages;
    for (const std::string &uri : closed)
        messages.push_back(Notify("textDocument/publishDiagnostics", {{"uri", uri}, {"diagnostics", json::array()}}));
    closed.clear();
    for (const std::string &uri : unchecked) {
        LspDocument &document = documents.at(uri);
        const CTextCheck check = CheckText(document.Text(), registry);
        messages.push_back(Notify("textDocument/publishDiagnostics",
                                  {{"uri", uri},
                                   {"version", document.Version()},
                                   {"diagnostics", DiagnosticsOf(document, check, encoding)}}));
    }
    unchecked.clear();
    return messages;
}

std::string LspServer::FramingError(const std::string &reason) const {
    return Error(nullptr, kParseError, "a message could not be read: " + reason);
}

std::string LspServer::Response(const json &id, const Reply &reply) {
    if (reply.code != 0) return Error(id, reply.code, reply.message);
    return Dump({{"jsonrpc", "2.0"}, {"id", id}, {"result", reply.result}});
}

std::string LspServer::Error(const json &id, int code, const std::string &message) {
    return Dump({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}});
}

std::string LspServer::Notify(const std::string &method, const json &params) {
    return Dump({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
}
