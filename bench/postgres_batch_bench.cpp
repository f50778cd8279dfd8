// A batch through the 200-node net from a PostgreSQL table: the third kind
// of case table in the batch figures (docs/performance.md), next to the tab
// file and SQLite. The cases live on a throwaway server, the one the tests
// of the PostgreSQL engine start (a Unix socket in a temporary directory),
// started once for the whole run.
#include <benchmark/benchmark.h>
#include <libpq-fe.h>

#include <cstdint>
#include <memory>
#include <string>

#include "../tests/tables/postgres_server.h"
#include "batch_runs.h"
#include "bench_consultation.h"
#include "kb_generator.h"

namespace {

using namespace quorvin::bench;

// The server, started at the first use; null, with the reason, when it
// cannot be.
CPostgresServer *Server(std::string &reason) {
    static std::string failure;
    static std::unique_ptr<CPostgresServer> server = [] {
        auto started = std::make_unique<CPostgresServer>();
        if (!started->Start(failure)) started.reset();
        return started;
    }();
    reason = failure;
    return server.get();
}

// The SQLite batch's knowledge base, reading its cases from the server.
GeneratedBase PostgresBatchBase(const std::string &location) {
    GeneratedBase base = LayeredKnowledgeBase(200, CaseSource::sqliteBatch);
    const std::string file = "\"cases.db\"";
    base.text.replace(base.text.find(file), file.size(), "\"" + location + "\"");
    return base;
}

bool Execute(PGconn *connection, const std::string &sql, std::string &error) {
    PGresult *result = PQexec(connection, sql.c_str());
    const ExecStatusType status = PQresultStatus(result);
    PQclear(result);
    if (status == PGRES_COMMAND_OK || status == PGRES_COPY_IN) return true;
    error = PQerrorMessage(connection);
    return false;
}

// The cases of CaseTable as the table "cases" (replaced), "?" as null.
bool WritePostgresCases(const GeneratedBase &base, int64_t cases, const std::string &location,
                        std::string &error) {
    std::unique_ptr<PGconn, decltype(&PQfinish)> connection(PQconnectdb(location.c_str()), PQfinish);
    if (PQstatus(connection.get()) != CONNECTION_OK) {
        error = PQerrorMessage(connection.get());
        return false;
    }
    std::string create = "DROP TABLE IF EXISTS cases; CREATE TABLE cases (case_id text PRIMARY KEY";
    for (const std::string &name : base.readings) create += ", \"" + name + "\" text";
    create += ")";
    if (!Execute(connection.get(), create, error) ||
        !Execute(connection.get(), "COPY cases FROM STDIN WITH (FORMAT text, NULL '?')", error))
        return false;
    const std::string table = CaseTable(base, cases);
    const size_t rows = table.find('\n') + 1;  // after the header
    if (PQputCopyData(connection.get(), table.data() + rows, static_cast<int>(table.size() - rows)) != 1 ||
        PQputCopyEnd(connection.get(), nullptr) != 1) {
        error = PQerrorMessage(connection.get());
        return false;
    }
    std::unique_ptr<PGresult, decltype(&PQclear)> copied(PQgetResult(connection.get()), PQclear);
    if (PQresultStatus(copied.get()) != PGRES_COMMAND_OK) {
        error = PQerrorMessage(connection.get());
        return false;
    }
    return true;
}

void BM_BatchPostgres(benchmark::State &state) {
    const int64_t cases = state.range(0);
    std::string error;
    CPostgresServer *server = Server(error);
    if (server == nullptr) {
        state.SkipWithError(("no PostgreSQL server: " + error).c_str());
        return;
    }
    const GeneratedBase base = PostgresBatchBase(server->Location());
    if (!WritePostgresCases(base, cases, server->Location(), error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    ScratchDirectory directory;
    RunBatches(state, directory, base, cases);
}
BENCHMARK(BM_BatchPostgres)->RangeMultiplier(10)->Range(1000, 100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
