// LspServer: the language server of `quorvin-cli lsp`, one message at a time.
//
// `Handle` takes the body of one message from the client and returns the
// bodies to send back: the response of a request, or nothing for a
// notification. It answers whatever it is given - text that is not JSON,
// JSON that is not a request, requests it does not know, params of the
// wrong shape, documents it has not opened - with the JSON-RPC error of the
// case, and never stops for it. Changed documents are checked only when
// `PublishDiagnostics` is called, which the session does once no message is
// waiting, so a burst of changes is checked once.
//
// The server keeps the texts the client sends and checks them in memory: it
// reads no file of the client's and writes none.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "lsp_document.h"
#include "lsp_features.h"

class CAllRetrievers;

class LspServer {
public:
    // The registry gives the retriever names the texts may use; not owned.
    explicit LspServer(CAllRetrievers *registry);

    std::vector<std::string> Handle(const std::string &body);
    // The reply to a header block the framing refused.
    std::string FramingError(const std::string &reason) const;
    // The diagnostics of the documents opened or changed since the last call.
    std::vector<std::string> PublishDiagnostics();

    bool ExitRequested() const { return exitRequested; }
    // 0 after shutdown then exit, 1 after an exit without shutdown.
    int ExitCode() const { return shutDown ? 0 : 1; }

private:
    using json = nlohmann::json;

    // A request's result, or the error that answers it.
    struct Reply {
        json result;
        int code = 0;  // 0: a result
        std::string message;

        static Reply Result(json value) { return {std::move(value), 0, ""}; }
        static Reply Failure(int code, std::string message) { return {nullptr, code, std::move(message)}; }
    };

    Reply Request(const std::string &method, const json &params);
    void Notification(const std::string &method, const json &params);
    Reply Initialize(const json &params);
    void DidChange(const json &params);
    // The open document a request's params name; null after setting the error.
    LspDocument *DocumentOf(const json &params, Reply &reply);
    static LspPosition PositionIn(const json &params);

    static std::string Response(const json &id, const Reply &reply);
    static std::string Error(const json &id, int code, const std::string &message);
    static std::string Notify(const std::string &method, const json &params);

    CAllRetrievers *registry;
    std::vector<LspRetrieverName> retrieverNames;
    std::map<std::string, LspDocument> documents;  // by URI
    std::set<std::string> unchecked;  // URIs whose diagnostics are due
    std::vector<std::string> closed;   // URIs whose diagnostics must be cleared
    LspEncoding encoding = LspEncoding::utf16;
    bool initialized = false;
    bool shutDown = false;
    bool exitRequested = false;
};
