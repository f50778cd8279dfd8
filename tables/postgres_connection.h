// One connection to a PostgreSQL server through libpq, with the statements
// it prepared kept for reuse.
//
// The location is a connection URI or keyword string; what it leaves out
// (host, user, password) libpq takes from the environment (PGHOST, PGUSER,
// PGPASSWORD) and from ~/.pgpass, so a password need not be written into an
// alias. Statements are always sent with their values as parameters, never
// pasted into the SQL, and through the extended protocol, which takes one
// statement only.
#pragma once

#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A result; destroying it frees it.
struct CPgResultFree {
    void operator()(PGresult *result) const { PQclear(result); }
};
using CPgResult = std::unique_ptr<PGresult, CPgResultFree>;

// The values of a statement's parameters, in order; an empty one is null.
using CPgParams = std::vector<std::optional<std::string>>;

class CPgConnection {
public:
    // Null, and the server's reason, when the server cannot be reached or
    // refuses the connection.
    static std::shared_ptr<CPgConnection> Open(const std::string &location, std::string &reason);
    ~CPgConnection();
    CPgConnection(const CPgConnection &) = delete;
    CPgConnection &operator=(const CPgConnection &) = delete;

    // Runs a statement, prepared once per SQL text; null when it could not
    // be sent. The caller checks the result's status.
    CPgResult Run(const std::string &sql, const CPgParams &params);
    // Drops the statement prepared for `sql`, if any, so that the next Run
    // prepares it afresh (a statement over a table whose columns changed
    // keeps failing on the server).
    void Forget(const std::string &sql);
    // Runs a statement without preparing it (transaction control, one-offs).
    CPgResult RunOnce(const std::string &sql, const CPgParams &params = {});

    // The name in double quotes as the server would quote it; empty when
    // libpq refuses it (it never is pasted unquoted).
    std::string QuoteIdentifier(const std::string &name) const;
    // The server's last error, on one line.
    std::string LastError() const;
    // True once the connection broke (the server went away).
    bool Broken() const { return PQstatus(conn) == CONNECTION_BAD; }

    PGconn *Handle() const { return conn; }

private:
    explicit CPgConnection(PGconn *connection) : conn(connection) {}

    PGconn *conn;
    std::unordered_map<std::string, std::string> prepared;  // SQL text to statement name
    int64_t statementsPrepared = 0;                         // numbers the names
};

// True for a result that carries rows or a command's success.
bool Succeeded(const CPgResult &result);
