// The claims example over PostgreSQL (examples/claims-pg.qvb, set up with
// claims-pg.sql) gives the verdicts the SQLite example gives, on a throwaway
// server.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "language/inf_net_compiler.h"
#include "language/input_char.h"
#include "language/output_memo.h"
#include "net/inf_tax_net.h"
#include "net/params.h"
#include "retrieval/all_retrievers.h"
#include "retrieval/table.h"
#include "tables/table_environment.h"
#include "tests/tables/postgres_server.h"
#include "tests/tables/table_test_support.h"
#include "ui/user_interface.h"

namespace {

std::string Example(const std::string &name) {
    std::ifstream file(std::string(QUORVIN_TEST_DATA) + "/../../examples/" + name, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the batch of a knowledge base's text with its tables in `directory`;
// the consultation's status.
int32_t RunBatch(const std::string &source, const std::string &directory) {
    CUserInterface noWindows;
    CTableEnvironment environment;
    environment.baseDirectory = directory.c_str();
    CAllRetrieversWin registry(noWindows, environment);
    CTable table;
    CInfTaxNet net;
    CParameters params;
    CPInputChar input(source.c_str());
    CPOutputMemo output(nullptr);
    CInfNetCompiler compiler(&input, &output);
    compiler.SetSourceDirectory(directory.c_str());
    if (registry.CopyIntoTable(&table) != 0) return -1;
    compiler.SetTargets(&net, &table, &params);
    if (compiler.Compile() != 0 || net.Check() != 0) return -2;
    net.ResetValues(&table);
    return net.Consult(&table, &params);
}

// "claim suspicious fast_track", the values as "%f" writes them.
std::string Verdict(const std::string &claim, const std::string &suspicious, const std::string &fastTrack) {
    char line[128];
    std::snprintf(line, sizeof line, "%s %f %f", claim.c_str(), std::strtod(suspicious.c_str(), nullptr),
                  std::strtod(fastTrack.c_str(), nullptr));
    return line;
}

TEST(ClaimsExample, PostgresGivesTheVerdictsOfSqlite) {
    CPostgresServer server;
    QUORVIN_START_POSTGRES(server);
    std::string reason;
    ASSERT_TRUE(server.Execute("postgres", "CREATE DATABASE quorvin_claims", reason)) << reason;
    ASSERT_TRUE(server.Execute("quorvin_claims", Example("claims-pg.sql"), reason)) << reason;

    CScratchDir dir;
    dir.MakeDatabase("claims.db", Example("claims.sql"));
    ASSERT_EQ(RunBatch(Example("claims.qvb"), dir.Dir()), 0);
    std::vector<std::string> fromSqlite;
    for (const std::string &row : dir.Query("claims.db", "SELECT claim_id, suspicious, fast_track FROM verdicts")) {
        // "t:C-2041|r:0.027432|r:0.880136"
        const size_t first = row.find('|'), second = row.find('|', first + 1);
        fromSqlite.push_back(Verdict(row.substr(2, first - 2), row.substr(first + 3, second - first - 3),
                                     row.substr(second + 3)));
    }
    ASSERT_EQ(fromSqlite.size(), 4u);

    // The knowledge base names the database only; the server is the one
    // the environment points libpq to, as for psql.
    setenv("PGHOST", server.SocketDirectory().c_str(), 1);
    setenv("PGUSER", "postgres", 1);
    ASSERT_EQ(RunBatch(Example("claims-pg.qvb"), dir.Dir()), 0);
    std::vector<std::string> fromPostgres;
    for (const std::string &row : server.Rows("SELECT claim_id, suspicious, fast_track, "
                                              "pg_typeof(suspicious)::text FROM verdicts",
                                              "quorvin_claims")) {
        const size_t first = row.find('|'), second = row.find('|', first + 1), third = row.find('|', second + 1);
        EXPECT_EQ(row.substr(third + 1), "double precision");
        fromPostgres.push_back(
            Verdict(row.substr(0, first), row.substr(first + 1, second - first - 1), row.substr(second + 1, third - second - 1)));
    }
    EXPECT_EQ(fromPostgres, fromSqlite);
    EXPECT_EQ(fromPostgres.front(), "C-2041 0.027432 0.880136");
}

}  // namespace
