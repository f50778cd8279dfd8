#include "tables/postgres_connection.h"

namespace {

// Wait no longer than this for a server that does not answer, unless the
// location says otherwise.
constexpr const char *kConnectTimeoutSeconds = "10";

std::string OneLine(const char *text) {
    std::string line = text == nullptr ? "" : text;
    for (char &c : line)
        if (c == '\n' || c == '\r' || c == '\t') c = ' ';
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

struct CRawParams {
    std::vector<const char *> values;
    explicit CRawParams(const CPgParams &params) {
        for (const auto &value : params) values.push_back(value ? value->c_str() : nullptr);
    }
};

}  // namespace

std::shared_ptr<CPgConnection> CPgConnection::Open(const std::string &location, std::string &reason) {
    // The location comes last so that what it says wins over the defaults.
    const char *keywords[] = {"connect_timeout", "application_name", "dbname", nullptr};
    const char *values[] = {kConnectTimeoutSeconds, "quorvin", location.c_str(), nullptr};
    PGconn *conn = PQconnectdbParams(keywords, values, 1);
    if (conn == nullptr) {
        reason = "out of memory";
        return nullptr;
    }
    if (PQstatus(conn) != CONNECTION_OK) {
        reason = OneLine(PQerrorMessage(conn));
        PQfinish(conn);
        return nullptr;
    }
    // Quiet notices: they would go to standard error, which is not ours.
    PQsetNoticeProcessor(conn, [](void *, const char *) {}, nullptr);
    return std::shared_ptr<CPgConnection>(new CPgConnection(conn));
}

CPgConnection::~CPgConnection() { PQfinish(conn); }

CPgResult CPgConnection::Run(const std::string &sql, const CPgParams &params) {
    auto found = prepared.find(sql);
    if (found == prepared.end()) {
        const std::string name = "quorvin_" + std::to_string(++statementsPrepared);
        CPgResult made(PQprepare(conn, name.c_str(), sql.c_str(), 0, nullptr));
        if (!Succeeded(made)) return made;
        found = prepared.emplace(sql, name).first;
    }
    CRawParams raw(params);
    return CPgResult(PQexecPrepared(conn, found->second.c_str(), static_cast<int>(raw.values.size()),
                                    raw.values.data(), nullptr, nullptr, 0));
}

void CPgConnection::Forget(const std::string &sql) {
    auto found = prepared.find(sql);
    if (found == prepared.end()) return;
    if (!Broken()) RunOnce("DEALLOCATE " + QuoteIdentifier(found->second));
    prepared.erase(found);
}

CPgResult CPgConnection::RunOnce(const std::string &sql, const CPgParams &params) {
    CRawParams raw(params);
    return CPgResult(PQexecParams(conn, sql.c_str(), static_cast<int>(raw.values.size()), nullptr,
                                  raw.values.data(), nullptr, nullptr, 0));
}

std::string CPgConnection::QuoteIdentifier(const std::string &name) const {
    char *quoted = PQescapeIdentifier(conn, name.c_str(), name.size());
    if (quoted == nullptr) return std::string();
    std::string text = quoted;
    PQfreemem(quoted);
    return text;
}

std::string CPgConnection::LastError() const { return OneLine(PQerrorMessage(conn)); }

bool Succeeded(const CPgResult &result) {
    if (!result) return false;
    const ExecStatusType status = PQresultStatus(result.get());
    return status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK || status == PGRES_SINGLE_TUPLE;
}
